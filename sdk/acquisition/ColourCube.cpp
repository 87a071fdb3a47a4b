#include "acquisition/ColourCube.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include <immintrin.h>

namespace {

constexpr size_t kPrefetchAhead = 16;
// Past the last entry, so that a 4-byte read of any entry stays inside.
constexpr size_t kReadPadding = 1;

// Pixels nBegin .. nEnd - 1 (3 bytes each) through the cube, 8 at a time:
// the entries' offsets from the pixels' bytes, the entries read 4 bytes at
// a time and packed back to 3. Reads stay inside the pixels given; returns
// where it stopped.
__attribute__((target("avx2"))) size_t Apply24Avx2(const uint8_t* pCube, uint8_t* pPixels,
                                                   size_t nPixels) {
    // Per 16-byte half: the index b << 16 | g << 8 | r of its 4 pixels as
    // 32-bit lanes, and the first 3 bytes of each entry side by side.
    const __m256i toIndex =
        _mm256_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1,  //
                         2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
    const __m256i toPixels =
        _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1,  //
                         0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const int* pWords = reinterpret_cast<const int*>(pCube);
    size_t i = 0;
    uint8_t* p = pPixels;
    // The second half's load reads the bytes of pixels 4 .. 9.
    for (; i + 10 <= nPixels; i += 8, p += 24) {
        const __m256i bytes = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
        const __m256i index = _mm256_shuffle_epi8(bytes, toIndex);
        const __m256i offset = _mm256_add_epi32(_mm256_slli_epi32(index, 1), index);
        const __m256i entries =
            _mm256_shuffle_epi8(_mm256_i32gather_epi32(pWords, offset, 1), toPixels);
        const __m128i low = _mm256_castsi256_si128(entries);
        const __m128i high = _mm256_extracti128_si256(entries, 1);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), low);
        const int32_t nLowTail = _mm_extract_epi32(low, 2);
        std::memcpy(p + 8, &nLowTail, 4);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p + 12), high);
        const int32_t nHighTail = _mm_extract_epi32(high, 2);
        std::memcpy(p + 20, &nHighTail, 4);
    }
    return i;
}

}  // namespace

bool CColourCube::Allocate() {
    if (m_pCube == nullptr) {
        m_pCube.reset(new (std::nothrow) uint8_t[kColours * 3 + kReadPadding]());
    }
    return m_pCube != nullptr;
}

void CColourCube::FillIdentity() {
    uint8_t* p = m_pCube.get();
    for (int b = 0; b < 256; ++b) {
        for (int g = 0; g < 256; ++g) {
            for (int r = 0; r < 256; ++r, p += 3) {
                p[0] = static_cast<uint8_t>(b);
                p[1] = static_cast<uint8_t>(g);
                p[2] = static_cast<uint8_t>(r);
            }
        }
    }
}

void CColourCube::Fill(Conversion convert, const void* pContext) {
    uint8_t* pCube = m_pCube.get();
    const int nWanted = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 16u));
    // Thread t of n takes the blue planes t, t + n, t + 2n, ...; all are
    // joined before Fill returns. When threads cannot be started, the
    // caller's thread fills every plane.
    auto fillPlanes = [=](int nFirst, int nStride) {
        for (int b = nFirst; b < 256; b += nStride) {
            uint8_t* p = pCube + static_cast<size_t>(b) * 65536 * 3;
            for (int g = 0; g < 256; ++g) {
                for (int r = 0; r < 256; ++r, p += 3) {
                    convert(pContext, b, g, r, p);
                }
            }
        }
    };
    std::vector<std::thread> threads;
    bool bStarted = true;
    try {
        for (int t = 1; t < nWanted; ++t) {
            threads.emplace_back(fillPlanes, t, nWanted);
        }
    } catch (const std::system_error&) {
        bStarted = false;
    }
    if (bStarted) {
        fillPlanes(0, nWanted);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (!bStarted) {
        fillPlanes(0, 1);
    }
}

void CColourCube::Apply(uint8_t* pPixels, size_t nPixels, size_t nStep, CFrameWorkers* pWorkers,
                        LaneLevel level) const {
    const uint8_t* pCube = m_pCube.get();
    auto entry = [pCube](const uint8_t* p) {
        return pCube + (static_cast<size_t>(p[0]) << 16 | p[1] << 8 | p[2]) * 3;
    };
    ForSlices(pWorkers, nPixels, [&](size_t nBegin, size_t nEnd) {
        uint8_t* p = pPixels + nBegin * nStep;
        size_t i = nBegin;
        if (nStep == 3 && level == LaneLevel::kAvx2) {
            const size_t nDone = Apply24Avx2(pCube, p, nEnd - nBegin);
            i += nDone;
            p += nDone * 3;
        }
        // The entries of a frame with many colours lie all over the 48 MiB:
        // the entry kPrefetchAhead pixels on is asked for early.
        for (; i + kPrefetchAhead < nEnd; ++i, p += nStep) {
            __builtin_prefetch(entry(p + kPrefetchAhead * nStep));
            const uint8_t* pEntry = entry(p);
            p[0] = pEntry[0];
            p[1] = pEntry[1];
            p[2] = pEntry[2];
        }
        for (; i < nEnd; ++i, p += nStep) {
            const uint8_t* pEntry = entry(p);
            p[0] = pEntry[0];
            p[1] = pEntry[1];
            p[2] = pEntry[2];
        }
    });
}
