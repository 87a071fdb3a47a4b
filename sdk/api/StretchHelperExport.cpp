// Export of the frame scaling helper: a frame scaled into the caller's buffer
// by the window system's DIB scaler. It touches no device and needs no
// ZDQ_Init.
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "ZDQApi.h"
#include "window/PlatWindow.h"

namespace {

// The descriptions of the source and the destination.
struct StretchFormats {
    PlatBitmapInfo source;
    PlatBitmapInfo destination;
};

// A DIB header of width x height (negative: top-down) holding imageBytes, with
// the grey palette i, i, i, 0 that 8-bit frames are shown through.
void DescribeDib(PlatBitmapInfo& info, int width, int height, int bitCount, uint32_t imageBytes) {
    info.bmiHeader = PlatDibHeader{};
    info.bmiHeader.biSize = sizeof(PlatDibHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<uint16_t>(bitCount);
    info.bmiHeader.biCompression = PLAT_BI_RGB;
    info.bmiHeader.biSizeImage = imageBytes;
    for (int i = 0; i < 256; ++i) {
        const uint8_t level = static_cast<uint8_t>(i);
        info.bmiColors[i] = PlatRgbQuad{level, level, level, 0};
    }
}

// Bytes of rows padded rows of width pixels, or 0 when a DIB cannot hold them.
uint32_t ImageBytes(int width, int64_t rows, int bitCount) {
    const uint64_t bytes = plat_dib_stride(width, static_cast<uint16_t>(bitCount)) * rows;
    return bytes > std::numeric_limits<uint32_t>::max() ? 0 : static_cast<uint32_t>(bytes);
}

}  // namespace

int ZDQ_HelperStretchBmp(const unsigned char* src, int srcWidth, int srcHeight, int bitCount,
                         unsigned char* dst, int dstWidth, int dstHeight) {
    if (src == nullptr || dst == nullptr || srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 ||
        dstHeight == 0 || (bitCount != 8 && bitCount != 24 && bitCount != 32)) {
        return RET_PARAMERROR;
    }
    const std::unique_ptr<StretchFormats> formats(new (std::nothrow) StretchFormats);
    if (formats == nullptr) {
        return RET_MALLOCFAIL;
    }
    const uint32_t sourceBytes = ImageBytes(srcWidth, srcHeight, bitCount);
    const uint32_t destinationBytes =
        ImageBytes(dstWidth, std::llabs(int64_t{dstHeight}), bitCount);
    if (sourceBytes == 0 || destinationBytes == 0) {
        return RET_FAIL;  // larger than a DIB can describe
    }
    DescribeDib(formats->source, srcWidth, srcHeight, bitCount, sourceBytes);
    DescribeDib(formats->destination, dstWidth, dstHeight, bitCount, destinationBytes);
    if (platwin_stretch_to_dib(src, &formats->source, dst, &formats->destination) != 1) {
        return RET_FAIL;
    }
    return RET_SUCCESS;
}
