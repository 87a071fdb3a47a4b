#include "acquisition/ColourCube.h"

#include <algorithm>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace {
constexpr size_t kPrefetchAhead = 16;
}  // namespace

bool CColourCube::Allocate() {
    if (m_pCube == nullptr) {
        m_pCube.reset(new (std::nothrow) uint8_t[kColours * 3]());
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

void CColourCube::Apply(uint8_t* pPixels, size_t nPixels, size_t nStep,
                        CFrameWorkers* pWorkers) const {
    const uint8_t* pCube = m_pCube.get();
    auto entry = [pCube](const uint8_t* p) {
        return pCube + (static_cast<size_t>(p[0]) << 16 | p[1] << 8 | p[2]) * 3;
    };
    ForSlices(pWorkers, nPixels, [&](size_t nBegin, size_t nEnd) {
        uint8_t* p = pPixels + nBegin * nStep;
        size_t i = nBegin;
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
