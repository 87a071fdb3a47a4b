#include "acquisition/BadPixelCorrection.h"

#include <algorithm>
#include <cstddef>

#include <immintrin.h>

namespace {

constexpr int kBlock = 32;

// The full test at x, with the neighbours as they are now (those on the
// left may have been corrected already).
inline void CorrectAt(uint8_t* p, int x, int nNear, int nFar) {
    const int v = p[x];
    if (v - p[x - 4] > nFar && v - p[x + 4] > nFar && v - p[x - 2] > nNear &&
        v - p[x + 2] > nNear) {
        p[x] = std::max(p[x - 2], p[x + 2]);
    }
}

// Whether any pixel of the block from x passes the test against its right
// neighbours. Correction works left to right, so when x is reached its own
// value and its right neighbours are still as the camera sent them: a block
// without such a pixel holds nothing to correct.
inline bool BlockHasCandidate(const uint8_t* p, int x, int nNear, int nFar) {
    int nAny = 0;
    for (int i = x; i < x + kBlock; ++i) {
        const int v = p[i];
        nAny |= static_cast<int>(v - p[i + 4] > nFar) & static_cast<int>(v - p[i + 2] > nNear);
    }
    return nAny != 0;
}

// The same test on byte lanes: v - n > t is (v - n saturated at 0) - t,
// saturated at 0, not 0.
inline __m128i Candidates16(const uint8_t* p, __m128i nearLimit, __m128i farLimit) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i right2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
    const __m128i right4 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 4));
    return _mm_min_epu8(_mm_subs_epu8(_mm_subs_epu8(v, right4), farLimit),
                        _mm_subs_epu8(_mm_subs_epu8(v, right2), nearLimit));
}

inline bool BlockHasCandidateSse(const uint8_t* p, int x, __m128i nearLimit, __m128i farLimit) {
    const __m128i any = _mm_or_si128(Candidates16(p + x, nearLimit, farLimit),
                                     Candidates16(p + x + 16, nearLimit, farLimit));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xFFFF;
}

// One row, left to right; blocks without a candidate are skipped.
template <typename HasCandidate>
inline void CorrectRow(uint8_t* p, int nLast, int nNear, int nFar,
                       const HasCandidate& hasCandidate) {
    int x = 4;
    for (; x + kBlock - 1 <= nLast; x += kBlock) {
        if (hasCandidate(x)) {
            for (int i = x; i < x + kBlock; ++i) {
                CorrectAt(p, i, nNear, nFar);
            }
        }
    }
    for (; x <= nLast; ++x) {
        CorrectAt(p, x, nNear, nFar);
    }
}

// The same row with the blocks tested on 32 lanes at once.
__attribute__((target("avx2"))) void CorrectRowAvx2(uint8_t* p, int nLast, int nNear, int nFar) {
    const __m256i nearLimit = _mm256_set1_epi8(static_cast<char>(nNear));
    const __m256i farLimit = _mm256_set1_epi8(static_cast<char>(nFar));
    int x = 4;
    for (; x + kBlock - 1 <= nLast; x += kBlock) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + x));
        const __m256i right2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + x + 2));
        const __m256i right4 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + x + 4));
        const __m256i any =
            _mm256_min_epu8(_mm256_subs_epu8(_mm256_subs_epu8(v, right4), farLimit),
                            _mm256_subs_epu8(_mm256_subs_epu8(v, right2), nearLimit));
        if (_mm256_testz_si256(any, any) == 0) {
            for (int i = x; i < x + kBlock; ++i) {
                CorrectAt(p, i, nNear, nFar);
            }
        }
    }
    for (; x <= nLast; ++x) {
        CorrectAt(p, x, nNear, nFar);
    }
}

}  // namespace

void CorrectBadPixels(uint8_t* pFrame, int nWidth, int nHeight, BadPixelThresholds thresholds,
                      CFrameWorkers* pWorkers, LaneLevel level) {
    if (pFrame == nullptr || nWidth <= 8 || nHeight <= 0) {
        return;
    }
    const int nNear = thresholds.ucNear;
    const int nFar = thresholds.ucFar;
    const int nLast = nWidth - 5;
    const size_t nRowBytes = static_cast<size_t>(nWidth);
    const __m128i nearLimit = _mm_set1_epi8(static_cast<char>(nNear));
    const __m128i farLimit = _mm_set1_epi8(static_cast<char>(nFar));
    // Rows are corrected independently; a row goes with the piece that holds
    // its first pixel, so pieces of the frame's pixels give bands of rows.
    ForSlices(pWorkers, nRowBytes * static_cast<size_t>(nHeight), [&](size_t nBegin, size_t nEnd) {
        for (size_t y = (nBegin + nRowBytes - 1) / nRowBytes; y * nRowBytes < nEnd; ++y) {
            uint8_t* p = pFrame + y * nRowBytes;
            if (level == LaneLevel::kAvx2) {
                CorrectRowAvx2(p, nLast, nNear, nFar);
            } else if (level == LaneLevel::kSsse3) {
                CorrectRow(p, nLast, nNear, nFar,
                           [&](int x) { return BlockHasCandidateSse(p, x, nearLimit, farLimit); });
            } else {
                CorrectRow(p, nLast, nNear, nFar,
                           [&](int x) { return BlockHasCandidate(p, x, nNear, nFar); });
            }
        }
    });
}
