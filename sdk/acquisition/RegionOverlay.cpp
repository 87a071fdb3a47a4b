#include "acquisition/RegionOverlay.h"

#include "acquisition/FrameRegion.h"

namespace {

// Colour bytes of a pixel and bytes from one pixel to the next.
struct PixelLayout {
    size_t nColourBytes;
    size_t nPixelBytes;
};

bool LayoutOf(int32_t nBitCount, PixelLayout& layout) {
    switch (nBitCount) {
        case 8:
            layout = {1, 1};
            return true;
        case 24:
            layout = {3, 3};
            return true;
        case 32:
            layout = {3, 4};
            return true;
        default:
            return false;
    }
}

inline uint8_t Darkened(uint8_t byValue) {
    return static_cast<uint8_t>(byValue > kRegionDarkening ? byValue - kRegionDarkening : 0);
}

}  // namespace

void DarkenRegion(uint8_t* pData, int32_t nWidth, int32_t nHeight, int32_t nBitCount, int32_t x,
                  int32_t y, int32_t nRegionWidth, int32_t nRegionHeight) {
    PixelLayout layout{};
    if (pData == nullptr || nWidth <= 0 || nHeight <= 0 || !LayoutOf(nBitCount, layout)) {
        return;
    }
    // Rows are stored bottom-up: the region's first buffer row is the one
    // of its last picture row.
    const FrameRegion region = ClampRegionToFrame(FrameRegion{x, y, nRegionWidth, nRegionHeight},
                                                  nWidth, nHeight, 1, true);
    const size_t nStride =
        (static_cast<size_t>(nBitCount) * static_cast<size_t>(nWidth) + 31) / 32 * 4;
    for (int32_t nRow = 0; nRow < region.height; ++nRow) {
        uint8_t* pPixel = pData + static_cast<size_t>(region.y + nRow) * nStride +
                          static_cast<size_t>(region.x) * layout.nPixelBytes;
        for (int32_t nColumn = 0; nColumn < region.width; ++nColumn) {
            for (size_t nByte = 0; nByte < layout.nColourBytes; ++nByte) {
                pPixel[nByte] = Darkened(pPixel[nByte]);
            }
            pPixel += layout.nPixelBytes;
        }
    }
}
