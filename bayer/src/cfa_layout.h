// Bayer patterns, site colours and the frame geometry shared by every
// demosaicing body. Everything here is a compile-time description or a small
// inline accessor; no state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace mtzdq {

// Output channel of a colour, also the colour of a raw site.
enum Colour : int { kBlue = 0, kGreen = 1, kRed = 2 };

// Colour of the top-left pixel of the repeating 2x2 cell, named as the
// exports name it.
enum class Pattern { RGGB, BGGR, GRBG, GBRG };

constexpr Colour opposite_chroma(Colour c) {
    return c == kRed ? kBlue : kRed;
}

// Colour of raw pixel (y, x): only the parities of y and x matter.
constexpr Colour site_colour(Pattern p, int y, int x) {
    const bool oy = (y & 1) != 0;
    const bool ox = (x & 1) != 0;
    switch (p) {
        case Pattern::RGGB:
            return !oy ? (!ox ? kRed : kGreen) : (!ox ? kGreen : kBlue);
        case Pattern::BGGR:
            return !oy ? (!ox ? kBlue : kGreen) : (!ox ? kGreen : kRed);
        case Pattern::GRBG:
            return !oy ? (!ox ? kGreen : kRed) : (!ox ? kBlue : kGreen);
        case Pattern::GBRG:
            return !oy ? (!ox ? kGreen : kBlue) : (!ox ? kRed : kGreen);
    }
    return kGreen;
}

// Colour of the red or blue sites of row y (every row holds one of them).
constexpr Colour row_chroma(Pattern p, int y) {
    const Colour c = site_colour(p, y, 0);
    return c == kGreen ? site_colour(p, y, 1) : c;
}

// Number of output channels for a bit count, or 0 when the bit count is not
// one the library writes. Only the low 16 bits of the argument count.
constexpr int channels_for(unsigned bit_count) {
    const unsigned bits = bit_count & 0xFFFFu;
    return bits == 24 ? 3 : bits == 32 ? 4 : 0;
}

// Read-only view of the raw frame.
template <class Sample>
struct RawFrame {
    const Sample* data;
    int width;
    int height;

    const Sample* row(int y) const { return data + static_cast<std::ptrdiff_t>(y) * width; }
    int at(int y, int x) const { return row(y)[x]; }
};

// Destination frame with the row order fixed at compile time: image row y is
// output row y, or height - 1 - y for the bottom-up (flipped) order.
template <class Sample, bool Flip>
struct DstFrame {
    Sample* data;
    int width;
    int height;
    int channels;

    Sample* row(int y) const {
        const int out_row = Flip ? height - 1 - y : y;
        return data + static_cast<std::ptrdiff_t>(out_row) * width * channels;
    }
    Sample* pixel(int y, int x) const { return row(y) + static_cast<std::ptrdiff_t>(x) * channels; }
    std::size_t bytes() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
               static_cast<std::size_t>(channels) * sizeof(Sample);
    }
};

// Fills the whole destination (every channel of every pixel) with one byte
// value before an algorithm runs; this is what sets the fourth byte of 32-bit
// output for the functions that define it.
template <class Sample, bool Flip>
inline void prefill(const DstFrame<Sample, Flip>& dst, unsigned char value) {
    std::memset(dst.data, value, dst.bytes());
}

// Fills every channel of the pixels outside the rectangle of rows top to
// bottom and columns left to right (inclusive) with one byte value; the whole
// destination when the rectangle is empty. For algorithms whose passes write
// every channel inside the rectangle, this leaves the frame as prefill would.
template <class Sample, bool Flip>
inline void prefill_outside(const DstFrame<Sample, Flip>& dst, unsigned char value, int top,
                            int left, int bottom, int right) {
    if (top > bottom || left > right) {
        prefill(dst, value);
        return;
    }
    const std::size_t pixel_bytes = static_cast<std::size_t>(dst.channels) * sizeof(Sample);
    const std::size_t row_bytes = static_cast<std::size_t>(dst.width) * pixel_bytes;
    for (int y = 0; y < dst.height; ++y) {
        unsigned char* row = reinterpret_cast<unsigned char*>(dst.row(y));
        if (y < top || y > bottom) {
            std::memset(row, value, row_bytes);
            continue;
        }
        const std::size_t after = static_cast<std::size_t>(right + 1) * pixel_bytes;
        std::memset(row, value, static_cast<std::size_t>(left) * pixel_bytes);
        std::memset(row + after, value, row_bytes - after);
    }
}

// Smallest frame the 3x3 and 5x5 algorithms and the border fills work on;
// smaller frames are left untouched.
inline bool frame_usable(int width, int height) {
    return width >= 2 && height >= 2;
}

}  // namespace mtzdq
