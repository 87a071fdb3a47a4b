// The Laplacian on AVX2 lanes, row by row: the green plane of a raw row (the
// green pass's values inside its rows and columns, the destination's green
// elsewhere) is computed once into a row buffer (the last three rows are
// kept); each output row then takes its green, own colour and colour-pass
// values sixteen pixels at a time, with the rules of two_pass.h on 16-bit
// lanes. Pixels outside the blocks take the same rules one by one. Every
// value is the one the two passes write.
#pragma once

#include <immintrin.h>

#include <memory>
#include <new>

#include "cfa_layout.h"
#include "interior_3x3.h"
#include "lanes_avx2.h"
#include "two_pass.h"

namespace mtzdq {

// Lanes of green sites among 16 pixels from an even column of row y.
template <Pattern P>
__attribute__((target("avx2"))) [[gnu::always_inline]] inline __m128i green_lanes16(int y) {
    alignas(16) std::uint8_t lane[16];
    for (int i = 0; i < 16; ++i) {
        lane[i] = site_colour(P, y, i) == kGreen ? 0xFF : 0;
    }
    return _mm_load_si128(reinterpret_cast<const __m128i*>(lane));
}

// Green plane of raw row r into greens[r % 3]: the green pass's rule inside
// rows and columns first .. size - 3, the destination's green elsewhere.
template <Pattern P, bool Flip>
__attribute__((target("avx2"))) void laplacian_prepare_row(const RawFrame<std::uint8_t>& raw,
                                                           const DstFrame<std::uint8_t, Flip>& dst,
                                                           std::uint8_t* const (&greens)[3], int r,
                                                           int first) {
    const int w = raw.width;
    std::uint8_t* green = greens[r % 3];
    const auto copy_green = [&](int from, int to) {
        for (int x = from; x < to; ++x) {
            green[x] = dst.pixel(r, x)[kGreen];
        }
    };
    if (r < first || r > raw.height - 3) {
        copy_green(0, w);
        return;
    }
    copy_green(0, first < w ? first : w);
    copy_green(w - 2 > first ? w - 2 : first, w);
    const std::uint8_t* c = raw.row(r);
    const std::uint8_t* up = raw.row(r - 1);
    const std::uint8_t* down = raw.row(r + 1);
    const std::uint8_t* up2 = raw.row(r - 2);
    const std::uint8_t* down2 = raw.row(r + 2);
    // Blocks start at column first (even), so the green lanes are fixed.
    const __m128i at_green = green_lanes16<P>(r);
    int x = first;
    for (; x + 15 <= w - 3; x += 16) {
        const I16x16 g =
            laplacian_green(widen_bytes(c + x), widen_bytes(c + x - 1), widen_bytes(c + x + 1),
                            widen_bytes(up + x), widen_bytes(down + x), widen_bytes(c + x - 2),
                            widen_bytes(c + x + 2), widen_bytes(up2 + x), widen_bytes(down2 + x));
        const __m128i own = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(green + x),
                         _mm_blendv_epi8(narrow_bytes(g), own, at_green));
    }
    for (; x <= w - 3; ++x) {
        green[x] = site_colour(P, r, x) == kGreen
                       ? c[x]
                       : clamp_byte(laplacian_green(int{c[x]}, int{c[x - 1]}, int{c[x + 1]},
                                                    int{up[x]}, int{down[x]}, int{c[x - 2]},
                                                    int{c[x + 2]}, int{up2[x]}, int{down2[x]}));
    }
}

// The rows around output row y: raw rows and green rows y - 1, y, y + 1.
struct LaplacianRows {
    const std::uint8_t* up;
    const std::uint8_t* centre;
    const std::uint8_t* down;
    const std::uint8_t* green_up;
    const std::uint8_t* green;
    const std::uint8_t* green_down;
};

// One pixel of output row y as both passes write it; the green pass's
// values only where it ran (in_green).
inline void laplacian_pixel(const LaplacianRows& rows, Colour own, Colour chroma, int x,
                            bool in_green, std::uint8_t* px) {
    if (in_green) {
        px[kGreen] = rows.green[x];
        if (own != kGreen) {
            px[own] = rows.centre[x];
        }
    }
    if (own == kGreen) {
        px[chroma] = static_cast<std::uint8_t>((rows.centre[x - 1] + rows.centre[x + 1]) >> 1);
        px[opposite_chroma(chroma)] = static_cast<std::uint8_t>((rows.up[x] + rows.down[x]) >> 1);
        return;
    }
    px[opposite_chroma(own)] = clamp_byte(laplacian_diagonal(
        int{rows.green[x]}, int{rows.green_down[x + 1]}, int{rows.green_up[x - 1]},
        int{rows.green_down[x - 1]}, int{rows.green_up[x + 1]}, int{rows.up[x - 1]},
        int{rows.down[x + 1]}, int{rows.up[x + 1]}, int{rows.down[x - 1]}));
}

// Output row y (2 .. height - 3), columns 2 .. width - 3.
template <Pattern P, int Channels, bool Flip>
__attribute__((target("avx2"))) void laplacian_output_row(const RawFrame<std::uint8_t>& raw,
                                                          const DstFrame<std::uint8_t, Flip>& dst,
                                                          std::uint8_t* const (&greens)[3], int y,
                                                          int first) {
    const int w = raw.width;
    const LaplacianRows rows{raw.row(y - 1),      raw.row(y),    raw.row(y + 1),
                             greens[(y + 2) % 3], greens[y % 3], greens[(y + 1) % 3]};
    const Colour chroma = row_chroma(P, y);
    const Colour other = opposite_chroma(chroma);
    std::uint8_t* out = dst.row(y);
    const bool green_row = y >= first;
    int x = 2;
    for (; x < first && x <= w - 3; ++x) {
        laplacian_pixel(rows, site_colour(P, y, x), chroma, x, false, out + x * Channels);
    }
    if (green_row) {
        const __m128i at_green = green_lanes16<P>(y);
        const auto* c = rows.centre;
        const auto* up = rows.up;
        const auto* down = rows.down;
        for (; x + 15 <= w - 3; x += 16) {
            const I16x16 across = (widen_bytes(c + x - 1) + widen_bytes(c + x + 1)) >> 1;
            const I16x16 along = (widen_bytes(up + x) + widen_bytes(down + x)) >> 1;
            const I16x16 diagonal = laplacian_diagonal(
                widen_bytes(rows.green + x), widen_bytes(rows.green_down + x + 1),
                widen_bytes(rows.green_up + x - 1), widen_bytes(rows.green_down + x - 1),
                widen_bytes(rows.green_up + x + 1), widen_bytes(up + x - 1),
                widen_bytes(down + x + 1), widen_bytes(up + x + 1), widen_bytes(down + x - 1));
            const __m128i own = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + x));
            __m128i plane[3];
            plane[chroma] = _mm_blendv_epi8(own, narrow_bytes(across), at_green);
            plane[other] = _mm_blendv_epi8(narrow_bytes(diagonal), narrow_bytes(along), at_green);
            plane[kGreen] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows.green + x));
            store_planes16<Channels>(plane, out + x * Channels);
        }
    }
    for (; x <= w - 3; ++x) {
        laplacian_pixel(rows, site_colour(P, y, x), chroma, x, green_row, out + x * Channels);
    }
}

template <Pattern P, int Channels, bool Flip>
__attribute__((target("avx2"))) void laplacian_rows(const RawFrame<std::uint8_t>& raw,
                                                    const DstFrame<std::uint8_t, Flip>& dst,
                                                    std::uint8_t* const (&greens)[3], int first) {
    laplacian_prepare_row<P>(raw, dst, greens, 1, first);
    laplacian_prepare_row<P>(raw, dst, greens, 2, first);
    for (int y = 2; y <= raw.height - 3; ++y) {
        laplacian_prepare_row<P>(raw, dst, greens, y + 1, first);
        laplacian_output_row<P, Channels>(raw, dst, greens, y, first);
    }
}

// Both passes of the Laplacian (green pass from row and column `first`) on
// AVX2 lanes, after the border fill, with row buffers owned by the call;
// false, and nothing written, when they cannot be allocated.
template <Pattern P, bool Flip>
bool laplacian_lanes(const RawFrame<std::uint8_t>& raw, const DstFrame<std::uint8_t, Flip>& dst,
                     int first) {
    if (raw.height < 5 || raw.width < 5) {
        return false;  // no colour-pass pixel: the passes have nothing to do
    }
    const std::size_t width = static_cast<std::size_t>(raw.width);
    const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[3 * width]);
    if (!buffer) {
        return false;
    }
    std::uint8_t* const greens[3] = {buffer.get(), buffer.get() + width, buffer.get() + 2 * width};
    if (dst.channels == 4) {
        laplacian_rows<P, 4>(raw, dst, greens, first);
    } else {
        laplacian_rows<P, 3>(raw, dst, greens, first);
    }
    return true;
}

}  // namespace mtzdq
