#include "acquisition/ColourMatrix.h"

#include <algorithm>
#include <cstdint>

#include <immintrin.h>

#include "ZDQApi.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

// The 5-bit preset field of the FPGA's colour register.
constexpr int kPresetFieldMask = 0x1F;

}  // namespace

void CColourMatrix::Init(ColourGroup group, uint16_t wColourRegister) {
    Lock lock(m_Mutex);
    m_Group = group;
    m_nColorCorrectionMode = 0;
    m_nColorCorrectionPreset = 0;
    const int nKind = (wColourRegister >> 9) & 3;
    if ((wColourRegister & 0x100) != 0 && (nKind == 0 || nKind == 3)) {
        m_nColorCorrectionMode = nKind == 0 ? 3 : 4;
        if (nKind == 0) {
            m_nColorCorrectionPreset = (wColourRegister >> 11) & kPresetFieldMask;
        }
        m_Camera.FpgaMatrixRead(m_fColorCorrectionMatrix);
        return;
    }
    ColourMatrixPreset(m_Group, 0, m_fColorCorrectionMatrix);
}

int CColourMatrix::SetMode(int nMode) {
    Lock lock(m_Mutex);
    if (nMode < 0 || nMode > 4) {
        return RET_SUCCESS;
    }
    const int nOff = m_Camera.FpgaMatrixOff();
    if (nMode <= 2) {
        if (nOff != RET_SUCCESS && nOff != RET_NOTSUPPORT) {
            return nOff;
        }
        if (nMode == 1) {
            ColourMatrixPreset(m_Group, m_nColorCorrectionPreset, m_fColorCorrectionMatrix);
        }
        m_nColorCorrectionMode = nMode;
        return RET_SUCCESS;
    }
    if (nOff != RET_SUCCESS) {
        return nOff;
    }
    if (nMode == 3) {
        const int nRet = m_Camera.FpgaMatrixPreset(m_nColorCorrectionPreset & kPresetFieldMask);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        m_nColorCorrectionMode = 3;
        m_Camera.FpgaMatrixRead(m_fColorCorrectionMatrix);
        return RET_SUCCESS;
    }
    const int nRet = m_Camera.FpgaMatrixWrite(m_fColorCorrectionMatrix);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_nColorCorrectionMode = 4;
    return RET_SUCCESS;
}

int CColourMatrix::Mode() const {
    Lock lock(m_Mutex);
    return m_nColorCorrectionMode;
}

int CColourMatrix::SetPreset(int nPreset) {
    Lock lock(m_Mutex);
    if (m_nColorCorrectionMode == 1) {
        ColourMatrixPreset(m_Group, nPreset, m_fColorCorrectionMatrix);
        m_nColorCorrectionPreset = nPreset;
        return RET_SUCCESS;
    }
    if (m_nColorCorrectionMode == 3) {
        m_Camera.FpgaMatrixPreset(nPreset & kPresetFieldMask);
        m_nColorCorrectionPreset = nPreset;
        return m_Camera.FpgaMatrixRead(m_fColorCorrectionMatrix);
    }
    return RET_ILLEGALOPERATION;
}

int CColourMatrix::Preset() const {
    Lock lock(m_Mutex);
    return m_nColorCorrectionPreset;
}

int CColourMatrix::SetMatrix(const float fMatrix[9]) {
    Lock lock(m_Mutex);
    if (m_nColorCorrectionMode != 2 && m_nColorCorrectionMode != 4) {
        return RET_SUCCESS;
    }
    std::copy_n(fMatrix, 9, m_fColorCorrectionMatrix);
    return m_nColorCorrectionMode == 4 ? m_Camera.FpgaMatrixWrite(m_fColorCorrectionMatrix)
                                       : RET_SUCCESS;
}

void CColourMatrix::Matrix(float fMatrix[9]) const {
    Lock lock(m_Mutex);
    std::copy_n(m_fColorCorrectionMatrix, 9, fMatrix);
}

void CColourMatrix::Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                          CFrameWorkers* pWorkers) const {
    Lock lock(m_Mutex);
    if ((m_nColorCorrectionMode != 1 && m_nColorCorrectionMode != 2) || pRgb == nullptr ||
        (nBitCount != 24 && nBitCount != 32)) {
        return;
    }
    const size_t nStep = static_cast<size_t>(nBitCount / 8);
    const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
    const LaneLevel level = MachineLaneLevel();
    ForSlices(pWorkers, nPixels, [&](size_t nBegin, size_t nEnd) {
        ApplyColourMatrix(m_fColorCorrectionMatrix, pRgb + nBegin * nStep, nEnd - nBegin, nStep,
                          level);
    });
}

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

using F4 = FloatLanes<4>::F;
using F8 = FloatLanes<8>::F;

// 24-bit pixels, 16 at a time: 4 groups of 4 float lanes.
__attribute__((target("ssse3"))) size_t Matrix24Ssse3(const float* m, uint8_t* p, size_t nPixels) {
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= nPixels; i += 16, p += 48) {
        __m128i plane[3];
        Gather48(p, plane);
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

// 24-bit pixels, 16 at a time: 2 groups of 8 float lanes.
__attribute__((target("avx2"))) size_t Matrix24Avx2(const float* m, uint8_t* p, size_t nPixels) {
    size_t i = 0;
    for (; i + 16 <= nPixels; i += 16, p += 48) {
        __m128i plane[3];
        Gather48(p, plane);
        __m256i lanes[3][2];
        for (int h = 0; h < 2; ++h) {
            F8 in[3];
            for (int c = 0; c < 3; ++c) {
                const __m128i bytes = h == 0 ? plane[c] : _mm_srli_si128(plane[c], 8);
                in[c] = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(bytes));
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
size_t Matrix32Sse(const float* m, uint8_t* p, size_t nPixels) {
    const __m128i byteMask = _mm_set1_epi32(0xFF);
    const __m128i fourth = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    size_t i = 0;
    for (; i + 4 <= nPixels; i += 4, p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
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
__attribute__((target("avx2"))) size_t Matrix32Avx2(const float* m, uint8_t* p, size_t nPixels) {
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    const __m256i fourth = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    size_t i = 0;
    for (; i + 8 <= nPixels; i += 8, p += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const RgbLanes<F8> in = {
            _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 16), byteMask)),
            _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 8), byteMask)),
            _mm256_cvtepi32_ps(_mm256_and_si256(v, byteMask))};
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

}  // namespace

void ApplyColourMatrix(const float fMatrix[9], uint8_t* pPixels, size_t nPixels, size_t nStep,
                       LaneLevel level) {
    size_t i = 0;
    if (level == LaneLevel::kAvx2) {
        i = nStep == 3 ? Matrix24Avx2(fMatrix, pPixels, nPixels)
                       : Matrix32Avx2(fMatrix, pPixels, nPixels);
    } else if (level == LaneLevel::kSsse3) {
        i = nStep == 3 ? Matrix24Ssse3(fMatrix, pPixels, nPixels)
                       : Matrix32Sse(fMatrix, pPixels, nPixels);
    }
    for (uint8_t* p = pPixels + i * nStep; i < nPixels; ++i, p += nStep) {
        const RgbLanes<float> out = MatrixPixels<float>(
            fMatrix,
            {static_cast<float>(p[2]), static_cast<float>(p[1]), static_cast<float>(p[0])});
        p[0] = static_cast<uint8_t>(out.b);
        p[1] = static_cast<uint8_t>(out.g);
        p[2] = static_cast<uint8_t>(out.r);
    }
}
