// Software bad-pixel correction of 8-bit raw frames: a pixel brighter than
// its same-colour neighbours two and four columns away, by more than the
// near and the far threshold on both sides, takes the larger of its two near
// neighbours. Rows of 8 pixels or fewer are left alone.
#pragma once

#include <cstdint>

#include "acquisition/FrameWorkers.h"
#include "acquisition/PixelLanes.h"

struct BadPixelThresholds {
    // Defaults at construction and after a reset by bad-pixel mode 0.
    static constexpr uint8_t kNear = 12;
    static constexpr uint8_t kFar = 24;
    uint8_t ucNear = kNear;
    uint8_t ucFar = kFar;
};

// In place, each row left to right (a corrected pixel is what its right
// neighbours then see); bands of rows on the workers when given. The lanes
// only find the stretches of a row with something to correct: every level
// gives the same frame.
void CorrectBadPixels(uint8_t* pFrame, int nWidth, int nHeight, BadPixelThresholds thresholds,
                      CFrameWorkers* pWorkers = nullptr, LaneLevel level = MachineLaneLevel());
