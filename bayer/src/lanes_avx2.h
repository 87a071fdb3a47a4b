// Moving bytes in and out of 16-bit AVX2 lanes, for the two-pass algorithms.
#pragma once

#include <immintrin.h>

#include <cstring>

#include "lanes.h"

namespace mtzdq {

// Sixteen bytes widened to 16-bit lanes.
__attribute__((target("avx2"))) [[gnu::always_inline]] inline I16x16 widen_bytes(
    const std::uint8_t* p) {
    const __m256i v = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    I16x16 lanes;
    std::memcpy(&lanes, &v, sizeof lanes);
    return lanes;
}

// Sixteen 16-bit lanes clamped to 0 .. 255 and narrowed to bytes.
__attribute__((target("avx2"))) [[gnu::always_inline]] inline __m128i narrow_bytes(I16x16 lanes) {
    __m256i v;
    std::memcpy(&v, &lanes, sizeof v);
    return _mm_packus_epi16(_mm256_castsi256_si128(v), _mm256_extracti128_si256(v, 1));
}

}  // namespace mtzdq
