#include "Dib.h"

#include <cstring>

namespace platwin {

int BytesPerPixel(uint16_t bitCount) {
    switch (bitCount) {
        case 8:
            return 1;
        case 24:
            return 3;
        case 32:
            return 4;
        default:
            return 0;
    }
}

bool IsScalableSource(const PlatDibHeader& header) {
    return BytesPerPixel(header.biBitCount) != 0 && header.biCompression == PLAT_BI_RGB &&
           header.biWidth > 0 && header.biHeight > 0;
}

uint32_t PaletteEntries(const PlatDibHeader& header) {
    if (header.biBitCount != 8) {
        return 0;
    }
    if (header.biClrUsed == 0 || header.biClrUsed > 256) {
        return 256;
    }
    return header.biClrUsed;
}

void ClearRowPadding(uint8_t* bits, size_t stride, size_t rowBytes, uint32_t height) {
    if (rowBytes == stride) {
        return;
    }
    for (uint32_t row = 0; row < height; ++row) {
        std::memset(bits + row * stride + rowBytes, 0, stride - rowBytes);
    }
}

}  // namespace platwin
