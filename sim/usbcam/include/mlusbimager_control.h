/*
 * mlusbimager_control.h - test control of the simulated cameras behind
 * libmlusbimager.so.
 *
 * The driver library hosts simulated USB cameras, one per driver number
 * (slot 0 .. 31). Which cameras are plugged at start comes from the ini file
 * named by the environment variable MLUSBIMAGER_CONFIG (see the README); this
 * header lets a test plug and unplug cameras, script faults, set pins and
 * trigger status, read the journal of what a camera received, read and write
 * its chip and FPGA registers and its EEPROM, and choose what its frames show.
 * Every call is thread-safe. Calls that name an empty slot return 0.
 *
 * Frame content
 * -------------
 * A frame transfer is frames_per_transfer frames of width x height samples,
 * stacked top to bottom; width and height follow from the chip's window, skip
 * and binning registers, the count from FPGA register 8 (0 counts as 1), and
 * a sample is 2 bytes (little-endian) when FPGA register 0 bit 4 is set, else
 * 1 byte. The simulated ADC delivers s-bit samples (s = adc_bits).
 *
 * MLSIM_CONTENT_PATTERN: sample (c, r) of frame number n (the camera counts
 * every frame it sends from 0 at plug-in; a transfer of k frames uses k
 * numbers) is
 *     x = mirror ? width - 1 - c : c,   y = flip ? height - 1 - r : r,
 *     P = (x + 3 * y + n) & 0xFF,       v = P << (s - 8)
 * where flip and mirror are the chip's own read-out bits. With the default
 * output path (no LUT, no gamma LUT, sensitivity 0) an 8-bit sample is
 * exactly P and a 16-bit sample exactly v.
 *
 * MLSIM_CONTENT_SCENE: a gel under UV light, bands in eight lanes on a dark
 * background, defined on the chip's whole pixel array and sampled at the
 * array position of each output pixel (window start + index x skip), so a
 * window crops the scene. The gel lies upright on the table and the lens
 * turns it by 180 degrees on the chip: the size ladder (ten bands growing
 * brighter away from the wells) is the lane at the array's last columns and
 * the wells are at its last rows. Its level is
 *     v = black + radiance x (exposure_ms / 300) x gain x 0.35 x (2^s - 1)
 * clipped at 2^s - 1, with black = (2^s - 1) / 100, the brightest band at
 * radiance 1 and the background near 0.04: at 300 ms and gain 2 (register
 * 16, the station's first-start gain) the brightest bands reach 71 % of full
 * scale and the background 4 %, and nothing clips below 420 ms; exposure and
 * gain are decoded
 * from the chip's registers (gain register g: (g bit 6 ? 2 : 1) x (g & 0x3F)
 * / 8, times 1 + ((g >> 8) & 0x7F) / 8 on the 2592 and 2048 families; the
 * green 1 gain on monochrome cameras). A focus blur (box radius in array
 * pixels) can be set. Colour cameras deliver a Bayer mosaic of a tinted
 * scene (red 1, green 0.75, blue 0.45, each with its own gain register);
 * they skip columns and rows in pairs, so the mosaic keeps its pattern.
 *
 * MLSIM_CONTENT_FLAT_FIELD: an evenly lit target through a vignetting lens,
 * defined on the array like the scene (array position x, y; array size W x
 * H; s-bit samples, full = 2^s - 1):
 *     dark  = full x (4 + ((7x + 3y) & 7)) / 255
 *     vign  = 1 - 0.6 x (dx^2 + dy^2) / 2,  dx = (x - W/2) / (W/2),
 *                                          dy = (y - H/2) / (H/2)
 *     v     = dark + full x (exposure_ms / 40) x gain x 0.6 x vign
 * truncated and limited to full, with exposure and gain as for the scene;
 * the array pixels with x % 97 == 13 and y % 89 == 7 are hot (v = full).
 *
 * MLSIM_CONTENT_CHART: a colour chart on the chip's whole pixel array, in
 * six columns and two rows of patches: the patch of array pixel (X, Y) is
 * column X * 6 / array width, row Y * 2 / array height (integer division).
 * Row 0 holds grey steps of reflectance (column + 1) / 8 in all three
 * colours; row 1 six hues (red, green, blue reflectance, H = 0.7, L = 0.15):
 * red (H, L, L), yellow (H, H, L), green (L, H, L), cyan (L, H, H), blue
 * (L, L, H), magenta (H, L, H). The light on the chart is the illuminant
 * tint (mlsim_set_illuminant; 1, 1, 1 at plug-in). A pixel of Bayer colour c
 * samples channel c of x = F(reflectance x tint), with F the FPGA's colour
 * processing below (identity while it is off), as
 *     v = floor(min(max(x_c, 0), 1) x (2^s - 1))
 * (no black level; exposure and the sensor gains do not change the chart).
 * A monochrome camera samples the mean of the three channels. The array
 * mapping, skip and mirror are those of the scene content.
 *
 * MLSIM_CONTENT_LASER: a laser-profile camera. Each frame shows a laser line
 * across the chip's whole array for the frame's trigger signal s (the
 * watermark's count, see below): at array column x the line's centre is at
 * array row
 *     R(x, s) = 40 + ((x / 8 + s) mod 64)      (integer division)
 * with 8-bit level 250 there, 120 one row above and below, 8 elsewhere
 * (shifted to the ADC depth like the pattern). A camera plugged with this
 * content and memory kind 1 holds from the factory a 3D parameter block at
 * memory address 0x3F900, in the layout of the laser-profile library
 * (laser3d_control.h): 3D area 2048 x 256 at column 256, row 0, no flip,
 * Z = 0.05 x row (Z0 0), measurement range X 0 .. 2048, Z 0 .. 12.8.
 * Every transfer counts one trigger signal, plus those mlsim_skip_signals()
 * asked it to skip; its watermark counts signals in place of transfers.
 *
 * FPGA colour processing (colour cameras with an FPGA; register 9):
 *   bit 0 white balance on; bits 1-2 its kind: 0 preset (bits 3-7: preset 0
 *   gains 1.25, 1, 1.5; preset 1 1.5, 1, 1.25; preset 2 1, 1.25, 2; others
 *   1, 1, 1), 1 automatic once (measured when register 9 is written),
 *   2 automatic continuously (measured before every frame), 3 the gains
 *   written to registers 16, 17, 18. The automatic kinds take the grey world
 *   of the content: gain_c = mean_green / mean_c with the means red, green,
 *   blue of the illuminant tint for the chart, 1, 0.75, 0.45 for the gel
 *   scene and 1, 1, 1 for the pattern.
 *   bit 8 colour matrix on; bits 9-10 its kind: 0 preset (bits 11-15:
 *   preset 0 rows (1.5, -0.25, -0.25), (-0.25, 1.5, -0.25), (-0.25, -0.25,
 *   1.5); preset 1 (1.25, -0.25, 0), (0, 1.25, -0.25), (-0.25, 0, 1.25);
 *   other presets the identity), 3 the matrix written to registers 19-27
 *   row by row; kinds 1 and 2 leave the matrix off.
 *   The gains in use are kept in registers 16-18 (x 4096, truncated) and the
 *   matrix in registers 19-27 (signed, x 4096, truncated), read back at FPGA
 *   read addresses 144-146 and 147-155; frames use those kept values. The
 *   colour (red, green, blue) of a pixel becomes M x (gains x colour). On the
 *   gel scene the colour is the scene's level in each channel (above the
 *   black level, the pixel's own green gain for green); the pattern and
 *   the flat-field contents are never processed.
 *
 * Output path of a sample v (every content): the gamma LUT (FPGA register 33
 * bit 0) maps v to gamma[v]; then a 16-bit transfer sends v, an 8-bit one
 * sends lut[v] when the LUT is on (register 0 bit 11), else v >> (s - 8 - d)
 * limited to 255, with d the sensitivity (register 0 bits 5-7; a shift below
 * 0 counts as 0).
 *
 * Watermark (FPGA register 34 bit 0): the first 24 bytes of each transfer are
 * "*MARK*", the transfer number low 16 bits @6, the time stamp in
 * microseconds since plug-in low 32 bits @8 and high 32 bits @12, the
 * transfer number high 16 bits @16, the exposure in microseconds @18 and the
 * number of triggers received, low 16 bits, @22 (little-endian). On the
 * laser-profile camera the trigger signal count takes the transfer number's
 * place @6 and @16.
 *
 * Timing
 * ------
 * MLSIM_TIMING_REALTIME: a read completes on the simulator's thread once the
 * frame is ready (frame period = exposure or read-out time, whichever is
 * longer, times the frames per transfer). MLSIM_TIMING_INSTANT: a read is
 * left pending and completes at once on the simulator's thread.
 * MLSIM_TIMING_FAST: a read completes inside the read call. A read without
 * an MlUsbOverlapped blocks until it completes (or its handle is closed).
 * In the software trigger mode (register 0 bits 0/12 = 0/1) a frame is sent
 * only after a start-frame request (C0/C8); in the external trigger mode
 * (bit 0 set, bit 12 clear) only after mlsim_trigger(). The camera holds up
 * to four triggered frames; register 0 bit 8 (one-shot) empties them. In real
 * time a triggered frame is ready the trigger delay (FPGA register 3, in
 * microseconds) plus one frame period after its trigger; the other timings
 * serve it at once.
 *
 * In the fixed frame rate modes (register 0 bits 0 and 12 set, with or
 * without bit 1) frames come at the FPGA's fixed period instead, never
 * faster than the read-out: the count in registers 28 (low half) and 69
 * (high half) in the FPGA's step kind (profile field frame_rate_step:
 * MLSIM_FRAME_STEP_50US counts register 28 in 50 us, MLSIM_FRAME_STEP_1US in
 * 1 us, MLSIM_FRAME_STEP_132MHZ counts both registers in cycles of a 132 MHz
 * clock); a count of 0 counts as 1. The strobe delay (register 4) and the
 * trigger signal period (register 53) are only stored.
 *
 * Line-scan start: while the low byte of FPGA register 65 (start/end mode)
 * is not 0, frames are sent only after a start, whatever the trigger mode:
 * each start releases one transfer (held like a triggered frame). A start is
 * a write of register 65 with bit 15 set (the software start pulse; the bit
 * is not stored) or mlsim_start_signal().
 */
#ifndef MLUSBIMAGER_CONTROL_H
#define MLUSBIMAGER_CONTROL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MLSIM_API __attribute__((visibility("default")))

#define MLSIM_CONTENT_PATTERN 0
#define MLSIM_CONTENT_SCENE 1
#define MLSIM_CONTENT_FLAT_FIELD 2
#define MLSIM_CONTENT_CHART 3
#define MLSIM_CONTENT_LASER 4

#define MLSIM_TIMING_REALTIME 0
#define MLSIM_TIMING_INSTANT 1
#define MLSIM_TIMING_FAST 2

/* Step kind of the FPGA's fixed frame period (registers 28 and 69). */
#define MLSIM_FRAME_STEP_50US 0
#define MLSIM_FRAME_STEP_1US 1
#define MLSIM_FRAME_STEP_132MHZ 2

/* Bayer colour at array position (0, 0) and its row: BGGR, GRBG, RGGB, GBRG. */
#define MLSIM_BAYER_BGGR 0
#define MLSIM_BAYER_GRBG 1
#define MLSIM_BAYER_RGGB 2
#define MLSIM_BAYER_GBRG 3

/* What a camera is. mlsim_profile_default() fills every field for a device
 * type; change what a test needs, then plug. */
typedef struct MlSimProfile {
    int32_t device_type;       /* reported by the device-information request */
    int32_t serial;            /* 0 .. 255 */
    uint16_t firmware_version; /* major << 8 | minor */
    uint16_t fpga_version;     /* major << 8 | minor; used when has_fpga */
    int32_t has_fpga;          /* 0: FPGA requests answer status 1 */
    uint32_t driver_version;   /* control code 0x222004 */
    int32_t colour;            /* 1: Bayer mosaic, 0: monochrome */
    int32_t bayer_pattern;     /* MLSIM_BAYER_* */
    int32_t adc_bits;          /* 8 .. 16 */
    double pixel_clock_mhz;    /* sensor pixel clock */
    int32_t eeprom_kind;       /* 0: 8 KiB, 1: 256 KiB, 2: 16 KiB */
    int32_t boot_loader;       /* 1: USB controller without firmware */
    int32_t content;           /* MLSIM_CONTENT_* */
    int32_t timing;            /* MLSIM_TIMING_* */
    int32_t usb_state;         /* byte 1 of the USB-state reply (C0/EE) */
    int32_t snap_port;         /* SFR of the snap-button pin (0x80 A, 0xA0 C, 0xB0 D, 0xB1 E) */
    int32_t snap_bit;          /* its bit; the pin reads 0 while pressed */
    int32_t frame_rate_step;   /* MLSIM_FRAME_STEP_* of the fixed frame rate */
    int32_t onchip_engine;     /* 1: the sensor's own exposure (and gain) engine is
                                  fitted, where the chip has one; 0: not */
} MlSimProfile;

/* Defaults for a device type: serial 1, firmware 1.0, FPGA 1.0 (present
 * unless the model has none), driver 0x08000000, the chip's ADC depth, the
 * model's pixel clock and memory kind, pattern content, instant timing. */
MLSIM_API void mlsim_profile_default(int32_t device_type, MlSimProfile* out);

/* Plugs a new camera into an empty slot: 1, or 0 when the slot is taken or
 * the profile names a device type without a simulated chip. */
MLSIM_API int mlsim_plug(int32_t slot, const MlSimProfile* profile);
/* Unplugs the camera: opens fail with 2, I/O on open handles with 1167,
 * pending operations complete with 1167. The camera is kept aside. */
MLSIM_API int mlsim_unplug(int32_t slot);
/* Plugs the camera last unplugged from from_slot (same identity, same EEPROM,
 * registers at power-on) into the empty slot to_slot. */
MLSIM_API int mlsim_replug(int32_t from_slot, int32_t to_slot);
MLSIM_API int mlsim_is_plugged(int32_t slot);
MLSIM_API void mlsim_unplug_all(void);
/* Unplugs every camera, then plugs those of the ini file (NULL: the file
 * named by MLUSBIMAGER_CONFIG; none: no camera). Number plugged, or -1 when
 * the file cannot be read or holds an error (nothing plugged then). A
 * camera with a memory_file key starts with the memory image of that file
 * (when it has the memory's size; else erased) and writes its memory back
 * to it when it is unplugged and when the process ends. */
MLSIM_API int mlsim_load_config(const char* path);

/* Content and timing of one camera. */
MLSIM_API int mlsim_set_content(int32_t slot, int32_t content);
MLSIM_API int mlsim_set_timing(int32_t slot, int32_t timing);
MLSIM_API int mlsim_set_blur(int32_t slot, int32_t radius);
/* The illuminant tint on the chart (red, green, blue, each 0 or more). */
MLSIM_API int mlsim_set_illuminant(int32_t slot, double red, double green, double blue);

/* Faults. Each fault matches operations of its kind (and, for the request
 * faults, a bRequest, for MLSIM_FAULT_CONTROL a control code, or
 * MLSIM_MATCH_ANY), lets `skip` matching operations pass, then hits the next
 * `count` ones (count < 0: every one). A pending vendor request never
 * touches its data stage; sent without an MlUsbOverlapped it fails with 997
 * at once. */
#define MLSIM_MATCH_ANY (-1)
#define MLSIM_FAULT_TRANSFER 1      /* vendor request: the call fails with 31 */
#define MLSIM_FAULT_STATUS 2        /* vendor request: status byte = param */
#define MLSIM_FAULT_PENDING 3       /* vendor request: left pending until cancel or close */
#define MLSIM_FAULT_CONTROL 4       /* other control code: the call fails with 31 */
#define MLSIM_FAULT_READ_TIMEOUT 5  /* frame read: never completes until cancel or close */
#define MLSIM_FAULT_READ_SHORT 6    /* frame read: param bytes fewer than the frame (0: 1) */
#define MLSIM_FAULT_READ_ZERO 7     /* frame read: completes with 0 bytes */
#define MLSIM_FAULT_READ_ABORTED 8  /* frame read: completes with 995 */
#define MLSIM_FAULT_READ_IO_ERROR 9 /* frame read: the call fails with 31 */
MLSIM_API int mlsim_fault_add(int32_t slot, int32_t kind, int32_t match, uint32_t skip,
                              int32_t count, uint32_t param);
MLSIM_API int mlsim_fault_clear(int32_t slot);

/* Pins and trigger. */
/* Input levels of a controller port (SFR 0x80, 0xA0, 0xB0, 0xB1); pins whose
 * output enable is set read the output latch instead. Default: all 1. */
MLSIM_API int mlsim_set_port_input(int32_t slot, int32_t sfr, uint8_t levels);
/* Presses (1) or releases (0) the snap button: the profile's pin goes low and
 * the FPGA input level (register 30 bit 0) goes high. */
MLSIM_API int mlsim_set_snap_button(int32_t slot, int32_t pressed);
/* FPGA GPIO input level (register 30 bit 0). */
MLSIM_API int mlsim_set_gpio_input(int32_t slot, int32_t level);
/* Trigger status bits (register 128 bits 2-3) = bits & 3. */
MLSIM_API int mlsim_set_trigger_status(int32_t slot, int32_t bits);
/* One external trigger pulse. */
MLSIM_API int mlsim_trigger(int32_t slot);
/* One line-scan start signal (see Line-scan start above). */
MLSIM_API int mlsim_start_signal(int32_t slot);

/* The next transfer of a laser-profile camera counts count more trigger
 * signals than one (count signals lost before it). */
MLSIM_API int mlsim_skip_signals(int32_t slot, uint32_t count);

/* Segmented line sensors (device types 98-101, 2048 or 4096 pixels, 1 or 2
 * lines a frame, frames stacked by FPGA register 8). Segment s has the
 * registers s x 16 + 1 .. s x 16 + 10; its writes take effect at its load
 * strobe (register s x 16 + 1 written with bit 0 set). Segments interleave
 * on a line: one segment covers every pixel; with two, even pixels are
 * segment 0 and odd ones segment 1; with four, the first half of the line
 * holds 0 and 1 that way and the second half 2 and 3. The sensor sees no
 * light: each pixel shows its segment's dark level
 *     min(255, max(0, base - slope x L))
 * with L the segment's black level (register s x 16 + 4) at its last load
 * strobe (100 at power-on); base 425 and slope 3 at plug-in. always_bright 1
 * makes every sample 255. 0 for a camera without such a sensor. */
MLSIM_API int mlsim_line_sensor_set_dark(int32_t slot, int32_t base, int32_t slope,
                                         int32_t always_bright);

/* Registers and memory. */
MLSIM_API int mlsim_sensor_read(int32_t slot, uint16_t address, uint16_t* value);
MLSIM_API int mlsim_sensor_write(int32_t slot, uint16_t address, uint16_t value);
/* Addresses of the chip's registers in ascending order: writes up to
 * capacity of them and returns how many the chip has. */
MLSIM_API uint32_t mlsim_sensor_registers(int32_t slot, uint16_t* addresses, uint32_t capacity);
MLSIM_API int mlsim_fpga_read(int32_t slot, uint16_t reg, uint16_t* value);
MLSIM_API int mlsim_fpga_write(int32_t slot, uint16_t reg, uint16_t value);
MLSIM_API uint32_t mlsim_eeprom_size(int32_t slot);
MLSIM_API int mlsim_eeprom_read(int32_t slot, uint32_t address, uint8_t* data, uint32_t length);
MLSIM_API int mlsim_eeprom_write(int32_t slot, uint32_t address, const uint8_t* data,
                                 uint32_t length);
/* The FPGA's 8-bit LUT and 16-bit gamma LUT, 4096 entries each. */
MLSIM_API int mlsim_lut_read(int32_t slot, uint8_t* lut4096);
MLSIM_API int mlsim_gamma_lut_read(int32_t slot, uint16_t* lut4096);
/* Last byte written to the controller's CPU control register (0xE600) by
 * request 0xA0, or -1 when none was written. */
MLSIM_API int mlsim_cpu_reset_state(int32_t slot);
/* Last value written to an AD9923A front-end register, 0 when none. */
MLSIM_API int mlsim_ad9923a_read(int32_t slot, uint16_t address, uint32_t* value);

/* What the next transfer will be, decoded from the registers. */
typedef struct MlSimFrameInfo {
    int32_t width, height;       /* one frame, in samples */
    int32_t frames_per_transfer; /* FPGA register 8, 0 counted as 1 */
    int32_t bytes_per_sample;    /* 1 or 2 */
    uint32_t transfer_bytes;
    int32_t col_start, row_start, window_width, window_height; /* array pixels */
    int32_t col_skip, row_skip, col_bin, row_bin;
    int32_t flip, mirror;
    double exposure_ms;
    double gain;            /* green gain factor */
    double frame_period_ms; /* of free run, or of the fixed frame rate modes */
    uint64_t frames_sent;   /* frame numbers used so far */
    int32_t streaming;      /* after C0/EC, until C0/ED */
    int32_t trigger_mode;   /* 0 free run, 1 external, 2 software, 3 fixed rate, 4 high/low */
} MlSimFrameInfo;
MLSIM_API int mlsim_frame_info(int32_t slot, MlSimFrameInfo* out);

/* Journal of what a camera received, oldest first (the last 65536 entries). */
#define MLSIM_JOURNAL_VENDOR 0  /* a vendor request */
#define MLSIM_JOURNAL_CONTROL 1 /* another control code */
#define MLSIM_JOURNAL_READ 2    /* a frame read (code 0 for mlusb_read) */
typedef struct MlSimJournalEntry {
    uint32_t kind;
    uint32_t code;        /* control code */
    uint8_t request_type; /* vendor request fields */
    uint8_t request;
    uint16_t value;
    uint16_t index;
    uint16_t length;      /* wLength */
    uint8_t status;       /* reply status byte given (0 when the reply has none) */
    uint8_t faulted;      /* 1 when a scripted fault hit this operation */
    uint32_t data_length; /* bytes kept in data */
    uint8_t data[256];    /* host-to-device data, or the reply, first 256 bytes */
    uint32_t read_length; /* a read: the byte count asked for */
    uint64_t time_us;     /* microseconds since the camera was plugged */
} MlSimJournalEntry;
MLSIM_API uint32_t mlsim_journal_count(int32_t slot);
MLSIM_API int mlsim_journal_get(int32_t slot, uint32_t i, MlSimJournalEntry* out);
MLSIM_API int mlsim_journal_clear(int32_t slot);

#ifdef __cplusplus
}
#endif

#endif /* MLUSBIMAGER_CONTROL_H */
