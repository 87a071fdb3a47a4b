// Driver of the one-pass 3x3 algorithms: runs a pixel rule over the interior
// (rows 1 to height - 2, columns 1 to width - 2), row by row from the first
// image row, each row from left to right. On 8-bit frames it computes 16
// pixels at a time where the processor has SSSE3 and finishes each row pixel
// by pixel; both paths evaluate the same rule, so their results are identical.
#pragma once

#include <immintrin.h>

#include "cfa_layout.h"
#include "lanes.h"
#include "pixel_rules.h"

namespace mtzdq {

// Byte shuffles that interleave three 16-byte planes (pixels 0..15 of blue,
// green and red) into `Channels`-byte pixels: entry [k][c] builds output
// vector k from plane c; -128 leaves a byte zero.
template <int Channels>
struct InterleaveMasks {
    alignas(16) std::int8_t index[Channels][3][16];
};

template <int Channels>
constexpr InterleaveMasks<Channels> make_interleave_masks() {
    InterleaveMasks<Channels> m{};
    for (int k = 0; k < Channels; ++k) {
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < 16; ++j) {
                const int n = 16 * k + j;
                m.index[k][c][j] =
                    n % Channels == c ? static_cast<std::int8_t>(n / Channels) : std::int8_t{-128};
            }
        }
    }
    return m;
}

// Mask of the fourth byte of each 4-byte pixel, kept from the caller's buffer.
constexpr InterleaveMasks<1> make_fourth_byte_mask() {
    InterleaveMasks<1> m{};
    for (int j = 0; j < 16; ++j) {
        m.index[0][0][j] = j % 4 == 3 ? std::int8_t{-1} : std::int8_t{0};
    }
    return m;
}

// Computes and stores 16 pixels starting at column x0 (site First at x0,
// Second at x0 + 1, alternating) of one row.
template <class Rule, Colour First, Colour Second, Colour Chroma, int Channels>
__attribute__((target("ssse3"))) inline void vector_block(const std::uint8_t* centre_row,
                                                          std::ptrdiff_t stride, int x0,
                                                          std::uint8_t* out_row) {
    static constexpr InterleaveMasks<Channels> masks = make_interleave_masks<Channels>();
    static constexpr InterleaveMasks<1> fourth = make_fourth_byte_mask();

    std::array<std::array<U16x8, 4>, 3> columns;
    load_pair_columns(centre_row, stride, x0, columns);
    const Rgb<U16x8> a = Rule::template pixel<First, Chroma>(LaneSource<0>{&columns});
    const Rgb<U16x8> b = Rule::template pixel<Second, Chroma>(LaneSource<1>{&columns});

    __m128i plane[3];
    for (int c = 0; c < 3; ++c) {
        const U16x8 bytes = a[c] | (b[c] << 8);
        std::memcpy(&plane[c], &bytes, sizeof bytes);
    }
    std::uint8_t* out = out_row + static_cast<std::ptrdiff_t>(x0) * Channels;
    for (int k = 0; k < Channels; ++k) {
        __m128i v = _mm_setzero_si128();
        for (int c = 0; c < 3; ++c) {
            const __m128i m = _mm_load_si128(reinterpret_cast<const __m128i*>(masks.index[k][c]));
            v = _mm_or_si128(v, _mm_shuffle_epi8(plane[c], m));
        }
        __m128i* dst = reinterpret_cast<__m128i*>(out + 16 * k);
        if constexpr (Channels == 4) {
            const __m128i keep =
                _mm_load_si128(reinterpret_cast<const __m128i*>(fourth.index[0][0]));
            v = _mm_or_si128(v, _mm_and_si128(_mm_loadu_si128(dst), keep));
        }
        _mm_storeu_si128(dst, v);
    }
}

template <class Rule, Colour Own, Colour Chroma, class Sample>
inline void scalar_pixel(const Sample* centre, std::ptrdiff_t stride, Sample* px) {
    const Rgb<int> v = Rule::template pixel<Own, Chroma>(ScalarSource<Sample>{centre, stride});
    px[0] = static_cast<Sample>(v[0]);
    px[1] = static_cast<Sample>(v[1]);
    px[2] = static_cast<Sample>(v[2]);
}

// One interior row whose even columns are EvenSite and odd columns OddSite.
template <class Rule, Colour EvenSite, Colour OddSite, Colour Chroma, int Channels, class Sample,
          bool Flip>
void interior_row(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst, int y,
                  bool vector_blocks) {
    const std::ptrdiff_t stride = raw.width;
    const Sample* centre_row = raw.row(y);
    Sample* out_row = dst.row(y);
    const int last = raw.width - 2;
    int x = 1;
    if constexpr (sizeof(Sample) == 1) {
        if (vector_blocks) {
            // Blocks start at odd columns; a block reads columns x - 1 to x + 16.
            for (; x + 15 <= last; x += 16) {
                vector_block<Rule, OddSite, EvenSite, Chroma, Channels>(centre_row, stride, x,
                                                                        out_row);
            }
        }
    }
    for (; x <= last; ++x) {
        Sample* px = out_row + static_cast<std::ptrdiff_t>(x) * Channels;
        if (x & 1) {
            scalar_pixel<Rule, OddSite, Chroma>(centre_row + x, stride, px);
        } else {
            scalar_pixel<Rule, EvenSite, Chroma>(centre_row + x, stride, px);
        }
    }
}

template <class Rule, Pattern P, int Channels, class Sample, bool Flip>
void interior_3x3_rows(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst,
                       bool vector_blocks) {
    for (int y = 1; y <= raw.height - 2; ++y) {
        if (y & 1) {
            interior_row<Rule, site_colour(P, 1, 0), site_colour(P, 1, 1), row_chroma(P, 1),
                         Channels>(raw, dst, y, vector_blocks);
        } else {
            interior_row<Rule, site_colour(P, 0, 0), site_colour(P, 0, 1), row_chroma(P, 0),
                         Channels>(raw, dst, y, vector_blocks);
        }
    }
}

// Interior of a 3x3 algorithm at the pixel size of the destination.
template <class Rule, Pattern P, class Sample, bool Flip>
void interior_3x3(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst,
                  bool vector_blocks) {
    if (dst.channels == 4) {
        interior_3x3_rows<Rule, P, 4>(raw, dst, vector_blocks);
    } else {
        interior_3x3_rows<Rule, P, 3>(raw, dst, vector_blocks);
    }
}

}  // namespace mtzdq
