#include "acquisition/BadPixelCorrection.h"

#include <algorithm>
#include <cstddef>

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

}  // namespace

void CorrectBadPixels(uint8_t* pFrame, int nWidth, int nHeight, BadPixelThresholds thresholds,
                      CFrameWorkers* pWorkers) {
    if (pFrame == nullptr || nWidth <= 8 || nHeight <= 0) {
        return;
    }
    const int nNear = thresholds.ucNear;
    const int nFar = thresholds.ucFar;
    const int nLast = nWidth - 5;
    const size_t nRowBytes = static_cast<size_t>(nWidth);
    // Rows are corrected independently; a row goes with the piece that holds
    // its first pixel, so pieces of the frame's pixels give bands of rows.
    ForSlices(pWorkers, nRowBytes * static_cast<size_t>(nHeight), [&](size_t nBegin, size_t nEnd) {
        for (size_t y = (nBegin + nRowBytes - 1) / nRowBytes; y * nRowBytes < nEnd; ++y) {
            uint8_t* p = pFrame + y * nRowBytes;
            int x = 4;
            for (; x + kBlock - 1 <= nLast; x += kBlock) {
                if (BlockHasCandidate(p, x, nNear, nFar)) {
                    for (int i = x; i < x + kBlock; ++i) {
                        CorrectAt(p, i, nNear, nFar);
                    }
                }
            }
            for (; x <= nLast; ++x) {
                CorrectAt(p, x, nNear, nFar);
            }
        }
    });
}
