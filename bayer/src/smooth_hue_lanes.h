// Smooth hue on AVX2 lanes, row by row: the green and the quotients of a raw
// row are computed once into row buffers (the last three rows are kept), then
// each output row is computed eight pixels at a time from them, with the
// rules of two_pass.h on eight single-precision lanes. The green written is
// the green pass's, the ratios are the ratio pass's: every value is the same
// single-precision operation in the same order, so the bytes are those of
// the per-pixel passes.
#pragma once

#include <immintrin.h>

#include <cstring>
#include <memory>
#include <new>

#include "cfa_layout.h"
#include "lanes_avx2.h"
#include "two_pass.h"

namespace mtzdq {

typedef float F32x8 __attribute__((vector_size(32)));

// Row buffers of one call: green bytes and quotients of three raw rows.
struct SmoothHueRows {
    std::uint8_t* green[3];
    float* quotient[3];
};

__attribute__((target("avx2"))) [[gnu::always_inline]] inline F32x8 load_f32x8(const float* p) {
    F32x8 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Eight bytes widened to single-precision lanes.
__attribute__((target("avx2"))) [[gnu::always_inline]] inline F32x8 bytes_to_f32x8(
    const std::uint8_t* p) {
    const __m256 v = _mm256_cvtepi32_ps(
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
    F32x8 f;
    std::memcpy(&f, &v, sizeof f);
    return f;
}

// store_ratio on eight lanes: 32-bit lanes holding the stored bytes.
__attribute__((target("avx2"))) [[gnu::always_inline]] inline __m256i store_ratio_lanes(F32x8 f) {
    __m256 v;
    std::memcpy(&v, &f, sizeof v);
    const __m256 nan = _mm256_cmp_ps(v, v, _CMP_UNORD_Q);
    // The minimum gives its second operand, 255, for not-a-number lanes.
    const __m256i truncated = _mm256_cvttps_epi32(_mm256_min_ps(v, _mm256_set1_ps(255.0f)));
    const __m256i low_byte = _mm256_and_si256(truncated, _mm256_set1_epi32(0xFF));
    return _mm256_andnot_si256(_mm256_castps_si256(nan), low_byte);
}

// Green and quotients of raw row r into the buffers of slot r % 3. Rows 0
// and height - 1 and columns 0 and width - 1 take the border fill's green.
template <Pattern P, bool Flip>
__attribute__((target("avx2"))) void smooth_hue_prepare_row(const RawFrame<std::uint8_t>& raw,
                                                            const DstFrame<std::uint8_t, Flip>& dst,
                                                            const SmoothHueRows& rows, int r) {
    const int w = raw.width;
    std::uint8_t* green = rows.green[r % 3];
    float* quotient = rows.quotient[r % 3];
    const std::uint8_t* c = raw.row(r);
    if (r == 0 || r == raw.height - 1) {
        for (int x = 0; x < w; ++x) {
            green[x] = dst.pixel(r, x)[kGreen];
        }
    } else {
        green[0] = dst.pixel(r, 0)[kGreen];
        green[w - 1] = dst.pixel(r, w - 1)[kGreen];
        const std::uint8_t* up = raw.row(r - 1);
        const std::uint8_t* down = raw.row(r + 1);
        // Sixteen columns a step from column 1 (odd): lane i is column 1 + i
        // of its block, so the lanes of green sites are fixed for the row.
        alignas(32) std::uint8_t green_lane[32] = {};
        for (int i = 0; i < 16; ++i) {
            green_lane[i] = site_colour(P, r, 1 + i) == kGreen ? 0xFF : 0;
        }
        const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(green_lane));
        int x = 1;
        for (; x + 15 <= w - 2; x += 16) {
            const I16x16 mean =
                smooth_hue_green<I16x16>(widen_bytes(c + x - 1), widen_bytes(c + x + 1),
                                         widen_bytes(up + x), widen_bytes(down + x));
            const __m128i means = narrow_bytes(mean);
            const __m128i own = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(green + x),
                             _mm_blendv_epi8(means, own, keep));
        }
        for (; x <= w - 2; ++x) {
            green[x] = site_colour(P, r, x) == kGreen
                           ? c[x]
                           : static_cast<std::uint8_t>(
                                 smooth_hue_green<int>(c[x - 1], c[x + 1], up[x], down[x]));
        }
    }
    int x = 0;
    for (; x + 8 <= w; x += 8) {
        const F32x8 q = smooth_hue_quotient(bytes_to_f32x8(c + x), bytes_to_f32x8(green + x));
        std::memcpy(quotient + x, &q, sizeof q);
    }
    for (; x < w; ++x) {
        quotient[x] = smooth_hue_quotient(static_cast<float>(c[x]), static_cast<float>(green[x]));
    }
}

// Output row y (1 .. height - 2) from the buffered rows y - 1, y, y + 1.
template <Pattern P, bool Flip>
__attribute__((target("avx2"))) void smooth_hue_output_row(const RawFrame<std::uint8_t>& raw,
                                                           const DstFrame<std::uint8_t, Flip>& dst,
                                                           const SmoothHueRows& rows, int y) {
    const int w = raw.width;
    const std::uint8_t* green = rows.green[y % 3];
    const float* qu = rows.quotient[(y + 2) % 3];
    const float* qc = rows.quotient[y % 3];
    const float* qd = rows.quotient[(y + 1) % 3];
    const std::uint8_t* c = raw.row(y);
    const Colour chroma = row_chroma(P, y);
    const Colour other = opposite_chroma(chroma);
    const int channels = dst.channels;
    std::uint8_t* out = dst.row(y);
    // Eight pixels a step from column 1: lanes of green sites are fixed.
    alignas(32) std::int32_t green_lane[8];
    for (int i = 0; i < 8; ++i) {
        green_lane[i] = site_colour(P, y, 1 + i) == kGreen ? -1 : 0;
    }
    const __m256i at_green = _mm256_load_si256(reinterpret_cast<const __m256i*>(green_lane));
    // Each pixel as one 32-bit word: byte k is channel k.
    const __m128i chroma_shift = _mm_cvtsi32_si128(8 * chroma);
    const __m128i other_shift = _mm_cvtsi32_si128(8 * other);
    // Twelve bytes of each 16-byte half, the fourth byte of each pixel left out.
    const __m256i pack3 = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,
                                           0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    int x = 1;
    for (; x + 7 <= w - 2; x += 8) {
        const F32x8 g0 = bytes_to_f32x8(green + x);
        const F32x8 pair = smooth_hue_pair(load_f32x8(qc + x - 1), load_f32x8(qc + x + 1), g0);
        const F32x8 across = smooth_hue_pair(load_f32x8(qu + x), load_f32x8(qd + x), g0);
        const F32x8 diagonals =
            smooth_hue_diagonals(load_f32x8(qu + x + 1), load_f32x8(qu + x - 1),
                                 load_f32x8(qd + x - 1), load_f32x8(qd + x + 1), g0);
        const __m256i own =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(c + x)));
        const __m256i chroma_value = _mm256_blendv_epi8(own, store_ratio_lanes(pair), at_green);
        const __m256i other_value =
            _mm256_blendv_epi8(store_ratio_lanes(diagonals), store_ratio_lanes(across), at_green);
        const __m256i green_value =
            _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(green + x)));
        const __m256i pixels =
            _mm256_or_si256(_mm256_or_si256(_mm256_sll_epi32(chroma_value, chroma_shift),
                                            _mm256_sll_epi32(other_value, other_shift)),
                            _mm256_slli_epi32(green_value, 8 * kGreen));
        std::uint8_t* px = out + static_cast<std::ptrdiff_t>(x) * channels;
        if (channels == 4) {
            __m256i* p = reinterpret_cast<__m256i*>(px);
            const __m256i fourth =
                _mm256_and_si256(_mm256_loadu_si256(p), _mm256_set1_epi32(0xFF000000u));
            _mm256_storeu_si256(p, _mm256_or_si256(pixels, fourth));
        } else {
            const __m256i packed = _mm256_permutevar8x32_epi32(
                _mm256_shuffle_epi8(pixels, pack3), _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(px), _mm256_castsi256_si128(packed));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(px + 16),
                             _mm256_extracti128_si256(packed, 1));
        }
    }
    for (; x <= w - 2; ++x) {
        std::uint8_t* px = out + static_cast<std::ptrdiff_t>(x) * channels;
        const float g0 = static_cast<float>(green[x]);
        px[kGreen] = green[x];
        if (site_colour(P, y, x) == kGreen) {
            px[chroma] = store_ratio(smooth_hue_pair(qc[x - 1], qc[x + 1], g0));
            px[other] = store_ratio(smooth_hue_pair(qu[x], qd[x], g0));
        } else {
            px[chroma] = c[x];
            px[other] =
                store_ratio(smooth_hue_diagonals(qu[x + 1], qu[x - 1], qd[x - 1], qd[x + 1], g0));
        }
    }
}

// Both passes of smooth hue over the interior, after the border fill.
template <Pattern P, bool Flip>
__attribute__((target("avx2"))) void smooth_hue_rows(const RawFrame<std::uint8_t>& raw,
                                                     const DstFrame<std::uint8_t, Flip>& dst,
                                                     const SmoothHueRows& rows) {
    smooth_hue_prepare_row<P>(raw, dst, rows, 0);
    smooth_hue_prepare_row<P>(raw, dst, rows, 1);
    for (int y = 1; y <= raw.height - 2; ++y) {
        smooth_hue_prepare_row<P>(raw, dst, rows, y + 1);
        smooth_hue_output_row<P>(raw, dst, rows, y);
    }
}

// Smooth hue's interior on AVX2 lanes, with row buffers owned by the call;
// false, and nothing written, when they cannot be allocated.
template <Pattern P, bool Flip>
bool smooth_hue_lanes(const RawFrame<std::uint8_t>& raw, const DstFrame<std::uint8_t, Flip>& dst) {
    const std::size_t width = static_cast<std::size_t>(raw.width);
    const std::unique_ptr<float[]> quotients(new (std::nothrow) float[3 * width]);
    const std::unique_ptr<std::uint8_t[]> greens(new (std::nothrow) std::uint8_t[3 * width]);
    if (!quotients || !greens) {
        return false;
    }
    SmoothHueRows rows{};
    for (std::size_t i = 0; i < 3; ++i) {
        rows.green[i] = greens.get() + i * width;
        rows.quotient[i] = quotients.get() + i * width;
    }
    smooth_hue_rows<P>(raw, dst, rows);
    return true;
}

}  // namespace mtzdq
