#include "acquisition/RgbTablePass.h"

#include <immintrin.h>

namespace {

// One output channel: row (m[0], m[1], m[2]) of the matrix on red, green and
// blue, products and sums in single precision in this order, limited to
// 0 .. 255 (NaN gives 0); the byte is its truncation.
template <class F>
[[gnu::always_inline]] inline F MatrixRow(const float* m, F r, F g, F b) {
    return ClampToByteRange(m[0] * r + m[1] * g + m[2] * b);
}

template <class F>
struct RgbLanes {
    F r, g, b;
};

template <class F>
[[gnu::always_inline]] inline RgbLanes<F> MatrixPixels(const float* m, RgbLanes<F> in) {
    return {MatrixRow(m, in.r, in.g, in.b), MatrixRow(m + 3, in.r, in.g, in.b),
            MatrixRow(m + 6, in.r, in.g, in.b)};
}

// Byte masks that gather channel c (0 blue, 1 green, 2 red) of 16 pixels of
// 24 bits from the k-th 16 bytes of their 48 (-1: none), and that scatter
// the 16 bytes of a channel back.
struct PlaneMasks {
    int8_t gather[3][3][16];   // [k][c]
    int8_t scatter[3][3][16];  // [k][c]
};

constexpr PlaneMasks MakePlaneMasks() {
    PlaneMasks masks{};
    for (int k = 0; k < 3; ++k) {
        for (int c = 0; c < 3; ++c) {
            for (int j = 0; j < 16; ++j) {
                const int nSource = 3 * j + c;
                masks.gather[k][c][j] = static_cast<int8_t>(nSource / 16 == k ? nSource % 16 : -1);
                const int nByte = 16 * k + j;
                masks.scatter[k][c][j] = static_cast<int8_t>(nByte % 3 == c ? nByte / 3 : -1);
            }
        }
    }
    return masks;
}

constexpr PlaneMasks kPlaneMasks = MakePlaneMasks();

[[gnu::always_inline]] __attribute__((target("ssse3"))) inline __m128i Mask(const int8_t* pMask) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(pMask));
}

// The 48 bytes of 16 pixels at p as planes of blue, green and red bytes.
[[gnu::always_inline]] __attribute__((target("ssse3"))) inline void Gather48(const uint8_t* p,
                                                                             __m128i plane[3]) {
    const __m128i in[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32))};
    for (int c = 0; c < 3; ++c) {
        plane[c] =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(in[0], Mask(kPlaneMasks.gather[0][c])),
                                      _mm_shuffle_epi8(in[1], Mask(kPlaneMasks.gather[1][c]))),
                         _mm_shuffle_epi8(in[2], Mask(kPlaneMasks.gather[2][c])));
    }
}

[[gnu::always_inline]] __attribute__((target("ssse3"))) inline void Scatter48(
    const __m128i plane[3], uint8_t* p) {
    for (int k = 0; k < 3; ++k) {
        const __m128i out =
            _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(plane[0], Mask(kPlaneMasks.scatter[k][0])),
                                      _mm_shuffle_epi8(plane[1], Mask(kPlaneMasks.scatter[k][1]))),
                         _mm_shuffle_epi8(plane[2], Mask(kPlaneMasks.scatter[k][2])));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16 * k), out);
    }
}

// The bytes of a block of pixels as the matrix reads them: with tables,
// their entries written to pCopy (room for the block), else the frame's own.
template <bool kTables>
[[gnu::always_inline]] inline const uint8_t* Looked(const RgbTables* pTables, const uint8_t* p,
                                                    size_t nPixels, size_t nStep, uint8_t* pCopy) {
    if constexpr (!kTables) {
        return p;
    }
    for (size_t i = 0; i < nPixels * nStep; i += nStep) {
        pCopy[i] = pTables->blue[p[i]];
        pCopy[i + 1] = pTables->green[p[i + 1]];
        pCopy[i + 2] = pTables->red[p[i + 2]];
        if (nStep == 4) {
            pCopy[i + 3] = p[i + 3];
        }
    }
    return pCopy;
}

using F4 = FloatLanes<4>::F;
using F8 = FloatLanes<8>::F;

// 24-bit pixels, 16 at a time: 4 groups of 4 float lanes.
template <bool kTables>
__attribute__((target("ssse3"))) size_t Matrix24Ssse3(const RgbTables* pTables, const float* m,
                                                      uint8_t* p, size_t nPixels) {
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= nPixels; i += 16, p += 48) {
        uint8_t copy[48];
        __m128i plane[3];
        Gather48(Looked<kTables>(pTables, p, 16, 3, copy), plane);
        __m128i words[3][2];
        for (int c = 0; c < 3; ++c) {
            words[c][0] = _mm_unpacklo_epi8(plane[c], zero);
            words[c][1] = _mm_unpackhi_epi8(plane[c], zero);
        }
        __m128i lanes[3][4];
        for (int q = 0; q < 4; ++q) {
            F4 in[3];
            for (int c = 0; c < 3; ++c) {
                const __m128i w = words[c][q / 2];
                in[c] = _mm_cvtepi32_ps(q % 2 == 0 ? _mm_unpacklo_epi16(w, zero)
                                                   : _mm_unpackhi_epi16(w, zero));
            }
            const RgbLanes<F4> out = MatrixPixels<F4>(m, {in[2], in[1], in[0]});
            lanes[0][q] = _mm_cvttps_epi32(out.b);
            lanes[1][q] = _mm_cvttps_epi32(out.g);
            lanes[2][q] = _mm_cvttps_epi32(out.r);
        }
        for (int c = 0; c < 3; ++c) {
            plane[c] = _mm_packus_epi16(_mm_packs_epi32(lanes[c][0], lanes[c][1]),
                                        _mm_packs_epi32(lanes[c][2], lanes[c][3]));
        }
        Scatter48(plane, p);
    }
    return i;
}

// The tables' entries as floats, 256 for each of blue, green and red, for
// the AVX2 paths to gather.
struct FloatTables {
    float entries[3][256];
};

// Channel c (0 blue, 1 green, 2 red) of 8 pixels whose bytes are in idx: the
// table entry when there are tables, else the byte, as floats.
template <bool kTables>
[[gnu::always_inline]] __attribute__((target("avx2"))) inline F8 ChannelLanes(
    const FloatTables* pFloat, int c, __m256i idx) {
    if constexpr (kTables) {
        return _mm256_i32gather_ps(pFloat->entries[c], idx, 4);
    }
    return _mm256_cvtepi32_ps(idx);
}

// 24-bit pixels, 16 at a time: 2 groups of 8 float lanes.
template <bool kTables>
__attribute__((target("avx2"))) size_t Matrix24Avx2(const FloatTables* pFloat, const float* m,
                                                    uint8_t* p, size_t nPixels) {
    size_t i = 0;
    for (; i + 16 <= nPixels; i += 16, p += 48) {
        __m128i plane[3];
        Gather48(p, plane);
        __m256i lanes[3][2];
        for (int h = 0; h < 2; ++h) {
            F8 in[3];
            for (int c = 0; c < 3; ++c) {
                const __m128i bytes = h == 0 ? plane[c] : _mm_srli_si128(plane[c], 8);
                in[c] = ChannelLanes<kTables>(pFloat, c, _mm256_cvtepu8_epi32(bytes));
            }
            const RgbLanes<F8> out = MatrixPixels<F8>(m, {in[2], in[1], in[0]});
            lanes[0][h] = _mm256_cvttps_epi32(out.b);
            lanes[1][h] = _mm256_cvttps_epi32(out.g);
            lanes[2][h] = _mm256_cvttps_epi32(out.r);
        }
        for (int c = 0; c < 3; ++c) {
            // Words in the order 0-3, 8-11 | 4-7, 12-15; put back in order.
            const __m256i words =
                _mm256_permute4x64_epi64(_mm256_packs_epi32(lanes[c][0], lanes[c][1]), 0xD8);
            plane[c] =
                _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
        }
        Scatter48(plane, p);
    }
    return i;
}

// 32-bit pixels (B, G, R and a kept fourth byte), 4 at a time.
template <bool kTables>
size_t Matrix32Sse(const RgbTables* pTables, const float* m, uint8_t* p, size_t nPixels) {
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    const __m128i fourth = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    size_t i = 0;
    for (; i + 4 <= nPixels; i += 4, p += 16) {
        uint8_t copy[16];
        const __m128i v = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(Looked<kTables>(pTables, p, 4, 4, copy)));
        const RgbLanes<F4> in = {_mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(v, 16), byteMask)),
                                 _mm_cvtepi32_ps(_mm_and_si128(_mm_srli_epi32(v, 8), byteMask)),
                                 _mm_cvtepi32_ps(_mm_and_si128(v, byteMask))};
        const RgbLanes<F4> out = MatrixPixels<F4>(m, in);
        const __m128i bgr = _mm_or_si128(
            _mm_or_si128(_mm_cvttps_epi32(out.b), _mm_slli_epi32(_mm_cvttps_epi32(out.g), 8)),
            _mm_slli_epi32(_mm_cvttps_epi32(out.r), 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                         _mm_or_si128(bgr, _mm_and_si128(v, fourth)));
    }
    return i;
}

// 32-bit pixels, 8 at a time.
template <bool kTables>
__attribute__((target("avx2"))) size_t Matrix32Avx2(const FloatTables* pFloat, const float* m,
                                                    uint8_t* p, size_t nPixels) {
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    const __m256i fourth = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    size_t i = 0;
    for (; i + 8 <= nPixels; i += 8, p += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const RgbLanes<F8> in = {
            ChannelLanes<kTables>(pFloat, 2, _mm256_and_si256(_mm256_srli_epi32(v, 16), byteMask)),
            ChannelLanes<kTables>(pFloat, 1, _mm256_and_si256(_mm256_srli_epi32(v, 8), byteMask)),
            ChannelLanes<kTables>(pFloat, 0, _mm256_and_si256(v, byteMask))};
        const RgbLanes<F8> out = MatrixPixels<F8>(m, in);
        const __m256i bgr =
            _mm256_or_si256(_mm256_or_si256(_mm256_cvttps_epi32(out.b),
                                            _mm256_slli_epi32(_mm256_cvttps_epi32(out.g), 8)),
                            _mm256_slli_epi32(_mm256_cvttps_epi32(out.r), 16));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p),
                            _mm256_or_si256(bgr, _mm256_and_si256(v, fourth)));
    }
    return i;
}

// The tables alone, pixel by pixel.
void LookUp(const RgbTables& tables, uint8_t* p, size_t nPixels, size_t nStep) {
    for (size_t i = 0; i < nPixels; ++i, p += nStep) {
        p[0] = tables.blue[p[0]];
        p[1] = tables.green[p[1]];
        p[2] = tables.red[p[2]];
    }
}

template <bool kTables>
size_t MatrixLanes(const RgbTables* pTables, const float* m, uint8_t* p, size_t nPixels,
                   size_t nStep, LaneLevel level) {
    if (level == LaneLevel::kAvx2) {
        if constexpr (kTables) {
            FloatTables floatTables;
            for (int v = 0; v < 256; ++v) {
                floatTables.entries[0][v] = pTables->blue[v];
                floatTables.entries[1][v] = pTables->green[v];
                floatTables.entries[2][v] = pTables->red[v];
            }
            return nStep == 3 ? Matrix24Avx2<true>(&floatTables, m, p, nPixels)
                              : Matrix32Avx2<true>(&floatTables, m, p, nPixels);
        }
        return nStep == 3 ? Matrix24Avx2<false>(nullptr, m, p, nPixels)
                          : Matrix32Avx2<false>(nullptr, m, p, nPixels);
    }
    if (level == LaneLevel::kSsse3) {
        return nStep == 3 ? Matrix24Ssse3<kTables>(pTables, m, p, nPixels)
                          : Matrix32Sse<kTables>(pTables, m, p, nPixels);
    }
    return 0;
}

}  // namespace

void ApplyTablesAndMatrixRange(uint8_t* pPixels, size_t nPixels, size_t nStep,
                               const RgbTables* pTables, const float* pMatrix, LaneLevel level) {
    if (pMatrix == nullptr) {
        if (pTables != nullptr) {
            LookUp(*pTables, pPixels, nPixels, nStep);
        }
        return;
    }
    size_t i = pTables != nullptr
                   ? MatrixLanes<true>(pTables, pMatrix, pPixels, nPixels, nStep, level)
                   : MatrixLanes<false>(pTables, pMatrix, pPixels, nPixels, nStep, level);
    uint8_t* p = pPixels + i * nStep;
    if (pTables != nullptr) {
        LookUp(*pTables, p, nPixels - i, nStep);
    }
    for (; i < nPixels; ++i, p += nStep) {
        const RgbLanes<float> out = MatrixPixels<float>(
            pMatrix,
            {static_cast<float>(p[2]), static_cast<float>(p[1]), static_cast<float>(p[0])});
        p[0] = static_cast<uint8_t>(out.b);
        p[1] = static_cast<uint8_t>(out.g);
        p[2] = static_cast<uint8_t>(out.r);
    }
}

void ApplyTablesAndMatrix(uint8_t* pPixels, size_t nPixels, size_t nStep, const RgbTables* pTables,
                          const float* pMatrix, CFrameWorkers* pWorkers) {
    if (pTables == nullptr && pMatrix == nullptr) {
        return;
    }
    const LaneLevel level = MachineLaneLevel();
    ForSlices(pWorkers, nPixels, [&](size_t nBegin, size_t nEnd) {
        ApplyTablesAndMatrixRange(pPixels + nBegin * nStep, nEnd - nBegin, nStep, pTables, pMatrix,
                                  level);
    });
}
