/*
 * PlatWindow.h - the window-system stand-in shared by the camera SDK and the
 * station program (libvarnu_window.so).
 *
 * Windows: a window is a number issued by a registry. A program that wants
 * frames drawn registers a sink and passes the number it gets wherever a
 * native window handle is expected (ZDQ_PreviewSetPos). Drawing into a window
 * scales the frame into the destination rectangle and hands the scaled frame
 * to the sink on the drawing thread. A number that was never issued, or whose
 * window was unregistered, draws nothing, like a destroyed window.
 * Unregistering waits for a draw that is in progress on another thread, so a
 * window may be closed while a preview runs; a sink must not unregister its
 * own window.
 *
 * Scaling: shrinking averages by area (each destination pixel is the mean of
 * the source pixels it covers, partly covered ones weighted by the part
 * covered; a shrink by a whole factor gives exact box averages); enlarging
 * and equal sizes take the source pixel under each destination pixel's
 * centre. Each axis is treated on its own. Every byte of a pixel is scaled as
 * a channel: 8-bit frames average their palette indexes (grey levels through
 * a grey palette), 24- and 32-bit frames each of B, G, R (and X). Results
 * are rounded half up, in integer arithmetic.
 *
 * Frames are device-independent bitmaps (DIBs): a 40-byte header, a palette
 * of 256 entries (used by 8-bit frames) and pixel rows of 8-bit grey
 * (through the palette), 24-bit B,G,R or 32-bit B,G,R,X samples. A positive
 * biHeight means rows stored bottom-up (the first row in memory is the bottom
 * row of the picture); each row is padded to a multiple of 4 bytes.
 *
 * Clipboard: one process-wide clipboard holding at most one DIB block
 * (header, palette for 8 bits, pixels), opened by one holder at a time.
 *
 * Every function is thread-safe.
 */
#ifndef VARNU_PLAT_WINDOW_H
#define VARNU_PLAT_WINDOW_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PLATWIN_API __attribute__((visibility("default")))

/* ---- Bitmaps ---------------------------------------------------------------- */

/* Compression value of uncompressed pixels. */
#define PLAT_BI_RGB 0u

typedef struct PlatDibHeader {
    uint32_t biSize;        /* 40 */
    int32_t biWidth;        /* pixels */
    int32_t biHeight;       /* rows; positive: bottom-up, negative: top-down */
    uint16_t biPlanes;      /* 1 */
    uint16_t biBitCount;    /* 8, 24 or 32 */
    uint32_t biCompression; /* PLAT_BI_RGB */
    uint32_t biSizeImage;   /* bytes of pixel data */
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed; /* palette entries used, 0: all for 8 bits */
    uint32_t biClrImportant;
} PlatDibHeader;

typedef struct PlatRgbQuad {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
} PlatRgbQuad;

/* A DIB's format: header and palette (only 8-bit frames read the palette). */
typedef struct PlatBitmapInfo {
    PlatDibHeader bmiHeader;
    PlatRgbQuad bmiColors[256];
} PlatBitmapInfo;

/* Bytes of one padded row of a DIB. */
static inline size_t plat_dib_stride(int32_t width, uint16_t bitCount) {
    return ((size_t)width * bitCount + 31u) / 32u * 4u;
}

/* ---- Windows ------------------------------------------------------------------ */

/* A window number; 0 is no window. */
typedef uintptr_t PlatWindow;

/* Receives one scaled frame for the rectangle (x, y, width, height) of the
 * window's client area: info describes the frame (biWidth = width, biHeight =
 * height, bottom-up, same bit count and palette as the source), bits its
 * padded rows. Both stay valid only during the call; copy what you keep. */
typedef void (*PlatWindowSink)(void* user, const PlatBitmapInfo* info, const void* bits, int x,
                               int y, int width, int height);

/* Registers a window: its number (issued from 1 up, never reused in the
 * process), or 0 when sink is null or no memory. */
PLATWIN_API PlatWindow platwin_register(PlatWindowSink sink, void* user);

/* Unregisters a window: new draws into it find nothing at once, then the call
 * waits, without a time limit, for draws into it that run on other threads
 * (as long as their sinks take). 1, or 0 for a number that is not registered
 * or a call from inside the window's own sink (which would wait for itself;
 * the window then stays registered). */
PLATWIN_API int platwin_unregister(PlatWindow window);

/* Draws the source rectangle (srcX, srcY, srcWidth, srcHeight) of a DIB
 * (bits described by info; srcY counts from the bottom row as in a DIB) into
 * the rectangle (x, y, width, height) of a window: the pixels are scaled to
 * width x height and handed to the window's sink. The source must be an
 * uncompressed bottom-up DIB (biHeight above 0) of biHeight padded rows; only
 * the header is read for 24 and 32 bits, and the biClrUsed palette entries
 * (0: all 256) for 8 bits. Draws into one window run one after another (they
 * share the window's frame buffer): a draw waits for one in progress on
 * another thread. The number of rows drawn (height), or 0 when nothing was
 * drawn: an unknown window, a size not above 0, a source rectangle outside
 * the DIB, a bit count other than 8, 24, 32, a frame too large for a DIB,
 * no memory, or a draw from inside the window's own sink. */
PLATWIN_API int platwin_stretch_dib(PlatWindow window, int x, int y, int width, int height,
                                    int srcX, int srcY, int srcWidth, int srcHeight,
                                    const void* bits, const PlatBitmapInfo* info);

/* Scales a whole DIB (uncompressed, bottom-up) into another one of the same
 * bit count: the destination is described by dstInfo (its biWidth and
 * biHeight; a negative biHeight asks for top-down rows) and holds biSizeImage
 * bytes, at least |biHeight| x padded row bytes; the padding bytes of its rows
 * are set to 0. 1, or 0 for bad arguments (null pointers, sizes not above 0,
 * a top-down or compressed source, bit counts that differ or are not 8, 24,
 * 32, a biSizeImage short of the rows) or no memory. */
PLATWIN_API int platwin_stretch_to_dib(const void* srcBits, const PlatBitmapInfo* srcInfo,
                                       void* dstBits, const PlatBitmapInfo* dstInfo);

/* ---- Clipboard --------------------------------------------------------------- */

/* Opens the clipboard for the calling thread: 1, or 0 at once while another
 * thread holds it open. The holder may open it again; one close ends the
 * hold, and so does the end of the holder thread. */
PLATWIN_API int platwin_clipboard_open(void);
/* Empties it (the caller holds it open): 1, else 0. */
PLATWIN_API int platwin_clipboard_empty(void);
/* Stores a copy of a DIB block (header, palette for 8 bits, pixels) as the
 * clipboard's content, replacing what it held (the caller holds it open): 1,
 * else 0 (also for a null block, one shorter than the 40-byte header, or no
 * memory). */
PLATWIN_API int platwin_clipboard_set_dib(const void* block, size_t size);
/* Closes it (the caller holds it open): 1, else 0. */
PLATWIN_API int platwin_clipboard_close(void);
/* Copies the DIB block on the clipboard into out (when out is not null and
 * capacity suffices) and returns its size; 0 when the clipboard holds none.
 * Needs no open. */
PLATWIN_API size_t platwin_clipboard_get_dib(void* out, size_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* VARNU_PLAT_WINDOW_H */
