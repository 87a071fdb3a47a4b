// Reading DIB descriptions: bytes per pixel, padded rows, the palette an
// 8-bit frame uses, and row addressing independent of the row order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "window/PlatWindow.h"

namespace platwin {

// Bytes of one pixel for a bit count the scaler handles (8, 24, 32), else 0.
int BytesPerPixel(uint16_t bitCount);

// True for a source the scaler reads: uncompressed 8, 24 or 32 bits, width
// and height above 0 (rows bottom-up).
bool IsScalableSource(const PlatDibHeader& header);

// Palette entries an 8-bit DIB carries (biClrUsed, 0 meaning all 256, never
// more than 256); 0 for other bit counts, whose palette is never read.
uint32_t PaletteEntries(const PlatDibHeader& header);

// Pixel rows of a picture counted from its bottom row: row r starts at
// bottom + r * pitch. A bottom-up DIB has a positive pitch, a top-down DIB
// starts at its last row in memory and steps backwards.
template <typename Byte>
struct DibRows {
    Byte* bottom;
    ptrdiff_t pitch;

    Byte* Row(uint32_t r) const { return bottom + static_cast<ptrdiff_t>(r) * pitch; }
};

using SourceRows = DibRows<const uint8_t>;
using DestinationRows = DibRows<uint8_t>;

// Rows of height rows of stride bytes at bits, stored top-down or bottom-up.
inline DestinationRows RowsOf(void* bits, size_t stride, uint32_t height, bool topDown) {
    uint8_t* const first = static_cast<uint8_t*>(bits);
    if (!topDown) {
        return {first, static_cast<ptrdiff_t>(stride)};
    }
    return {first + (height - 1) * stride, -static_cast<ptrdiff_t>(stride)};
}

// Sets the padding bytes after rowBytes in each of height rows of stride bytes
// to 0.
void ClearRowPadding(uint8_t* bits, size_t stride, size_t rowBytes, uint32_t height);

}  // namespace platwin
