// Sample sources for the one-pass 3x3 algorithms. A pixel rule is written
// once, as a template over the value type, and runs either on one pixel
// (values are ints) or on eight pixels of the same site at once (values are
// eight 16-bit lanes, GCC vector extensions). Operators +, >>, <, ?: and the
// helpers below mean the same for both.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

namespace mtzdq {

typedef std::uint16_t U16x8 __attribute__((vector_size(16)));

// Three output values of a pixel, indexed by Colour.
template <class V>
using Rgb = std::array<V, 3>;

inline int abs_diff(int a, int b) {
    return a > b ? a - b : b - a;
}
inline U16x8 abs_diff(U16x8 a, U16x8 b) {
    return a > b ? a - b : b - a;
}

// Raw neighbourhood of one pixel: at(dy, dx) is the raw sample at that offset.
template <class Sample>
struct ScalarSource {
    const Sample* centre;
    std::ptrdiff_t stride;

    int at(int dy, int dx) const { return centre[dy * stride + dx]; }
};

// Raw neighbourhood of eight pixels two columns apart: lane i stands for the
// pixel at column x0 + 2 * i + Offset. The rows y - 1, y, y + 1 are held as
// the columns x0 + 2 * i + k for k = -1 .. 2, so a rule may look one column
// left and right of either pixel of a pair.
template <int Offset>
struct LaneSource {
    const std::array<std::array<U16x8, 4>, 3>* columns;

    U16x8 at(int dy, int dx) const { return (*columns)[dy + 1][dx + Offset + 1]; }
};

// Loads the 3x4 column vectors for the pairs starting at x0 (8 pairs, 16
// pixels): reads columns x0 - 1 to x0 + 16 of rows y - 1 to y + 1.
inline void load_pair_columns(const std::uint8_t* centre_row, std::ptrdiff_t stride, int x0,
                              std::array<std::array<U16x8, 4>, 3>& columns) {
    for (int dy = -1; dy <= 1; ++dy) {
        const std::uint8_t* row = centre_row + dy * stride + x0;
        U16x8 left;
        U16x8 right;
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
