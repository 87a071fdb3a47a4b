#include "acquisition/BadPixelCorrection.h"

#include <algorithm>
#include <cstddef>

void CorrectBadPixels(uint8_t* pFrame, int nWidth, int nHeight, BadPixelThresholds thresholds) {
    if (pFrame == nullptr || nWidth <= 8) {
        return;
    }
    const int nNear = thresholds.ucNear;
    const int nFar = thresholds.ucFar;
    for (int y = 0; y < nHeight; ++y) {
        uint8_t* p = pFrame + static_cast<size_t>(y) * static_cast<size_t>(nWidth);
        for (int x = 4; x <= nWidth - 5; ++x) {
            const int v = p[x];
            if (v - p[x - 4] > nFar && v - p[x + 4] > nFar && v - p[x - 2] > nNear &&
                v - p[x + 2] > nNear) {
                p[x] = std::max(p[x - 2], p[x + 2]);
            }
        }
    }
}
