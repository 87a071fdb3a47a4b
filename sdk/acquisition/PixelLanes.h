// Vector lanes for the per-pixel steps of whole frames. A step's rule is
// written once, as a template over its value type, and runs on one pixel
// (float) or on 4 or 8 pixels at once (GCC vector extensions); +, -, *, the
// comparisons and the helpers below mean the same for both, operation by
// operation in single precision, so every path gives the same bytes. The
// files that use these lanes are built without contraction into fused
// multiply-adds.
#pragma once

#include <cstdint>
#include <cstring>

#include <immintrin.h>

// The widest lanes this processor runs, asked once.
enum class LaneLevel {
    kScalar,  // pixel by pixel
    kSsse3,   // 4 float lanes, byte shuffles
    kAvx2,    // 8 float lanes
};
LaneLevel MachineLaneLevel();

template <int N>
struct FloatLanes {
    typedef float F __attribute__((vector_size(4 * N)));
};

// x limited to 0 .. 255; NaN gives 0.
template <class F>
[[gnu::always_inline]] inline F ClampToByteRange(F x) {
    const F zero{};
    const F top = zero + 255.0f;
    x = x > zero ? x : zero;
    return x < top ? x : top;
}

// N bytes from p as N float lanes.
template <int N>
typename FloatLanes<N>::F LoadByteLanes(const uint8_t* p);

template <>
[[gnu::always_inline]] inline FloatLanes<4>::F LoadByteLanes<4>(const uint8_t* p) {
    int32_t nBytes;
    std::memcpy(&nBytes, p, sizeof nBytes);
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_cvtsi32_si128(nBytes);
    return _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero));
}

template <>
[[gnu::always_inline]] __attribute__((target("avx2"))) inline FloatLanes<8>::F LoadByteLanes<8>(
    const uint8_t* p) {
    return _mm256_cvtepi32_ps(
        _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}

// N float lanes from p.
template <int N>
[[gnu::always_inline]] inline typename FloatLanes<N>::F LoadFloatLanes(const float* p) {
    typename FloatLanes<N>::F lanes;
    std::memcpy(&lanes, p, sizeof lanes);
    return lanes;
}

// N lanes already limited to 0 .. 255, truncated and stored as bytes at p.
template <int N>
void StoreByteLanes(typename FloatLanes<N>::F x, uint8_t* p);

template <>
[[gnu::always_inline]] inline void StoreByteLanes<4>(FloatLanes<4>::F x, uint8_t* p) {
    const __m128i words = _mm_packs_epi32(_mm_cvttps_epi32(x), _mm_setzero_si128());
    const int32_t nBytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
    std::memcpy(p, &nBytes, sizeof nBytes);
}

template <>
[[gnu::always_inline]] __attribute__((target("avx2"))) inline void StoreByteLanes<8>(
    FloatLanes<8>::F x, uint8_t* p) {
    // Byte 0 of each 32-bit lane to the low 4 bytes of each half, then the
    // two halves' low 4 bytes side by side.
    const __m256i lowBytes =
        _mm256_setr_epi8(0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,  //
                         0, 4, 8, 12, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m256i packed = _mm256_shuffle_epi8(_mm256_cvttps_epi32(x), lowBytes);
    const __m256i joined =
        _mm256_permutevar8x32_epi32(packed, _mm256_setr_epi32(0, 4, 1, 1, 1, 1, 1, 1));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(joined));
}
