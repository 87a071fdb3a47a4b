// Sample sources for the one-pass 3x3 algorithms. A pixel rule is written
// once, as a template over the value type, and runs either on one pixel
// (values are ints) or on 8, 16 or 32 pixels of the same site at once (values
// are 16-bit lanes, GCC vector extensions). Operators +, >>, <, ?: and the
// helpers below mean the same for both.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace mtzdq {

typedef std::uint16_t U16x8 __attribute__((vector_size(16)));
typedef std::uint16_t U16x16 __attribute__((vector_size(32)));
typedef std::uint16_t U16x32 __attribute__((vector_size(64)));
typedef std::int16_t I16x16 __attribute__((vector_size(32)));

// Three output values of a pixel, indexed by Colour.
template <class V>
using Rgb = std::array<V, 3>;

inline int abs_diff(int a, int b) {
    return a > b ? a - b : b - a;
}
template <class V>
[[gnu::always_inline]] inline V abs_diff(V a, V b) {
    return a > b ? a - b : b - a;
}

// Raw neighbourhood of one pixel: at(dy, dx) is the raw sample at that offset.
template <class Sample>
struct ScalarSource {
    const Sample* centre;
    std::ptrdiff_t stride;

    int at(int dy, int dx) const { return centre[dy * stride + dx]; }
};

// Columns of rows y - 1, y, y + 1 around a run of pixel pairs.
template <class V>
using PairColumns = std::array<std::array<V, 4>, 3>;

// Raw neighbourhood of N pixels two columns apart (N lanes of V): lane i
// stands for the pixel at column x0 + 2 * i + Offset. The rows y - 1, y,
// y + 1 are held as the columns x0 + 2 * i + k for k = -1 .. 2, so a rule may
// look one column left and right of either pixel of a pair.
template <int Offset, class V>
struct LaneSource {
    const PairColumns<V>* columns;

    [[gnu::always_inline]] V at(int dy, int dx) const {
        return (*columns)[dy + 1][dx + Offset + 1];
    }
};

// Loads the column vectors for the N pairs (2N pixels) starting at x0:
// reads columns x0 - 1 to x0 + 2N of rows y - 1 to y + 1.
template <class V>
[[gnu::always_inline]] inline void load_pair_columns(const std::uint8_t* centre_row,
                                                     std::ptrdiff_t stride, int x0,
                                                     PairColumns<V>& columns) {
    for (int dy = -1; dy <= 1; ++dy) {
        const std::uint8_t* row = centre_row + dy * stride + x0;
        V left;
        V right;
        std::memcpy(&left, row - 1, sizeof left);
        std::memcpy(&right, row + 1, sizeof right);
        auto& c = columns[dy + 1];
        c[0] = left & 0xFF;  // little-endian: the low byte of lane i is column 2i
        c[1] = left >> 8;
        c[2] = right & 0xFF;
        c[3] = right >> 8;
    }
}

}  // namespace mtzdq
