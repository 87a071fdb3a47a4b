// One pass over an RGB frame (B, G, R order, 3 or 4 bytes a pixel, a fourth
// byte kept) for the per-channel steps of the colour chain: byte tables for
// blue, green and red, then the colour matrix. Either may be left out.
//
// The matrix: each output channel is its row (red, green, blue weights) on
// the pixel's red, green and blue, products and sums in single precision in
// that order, limited to 0 .. 255 (NaN gives 0) and truncated. Every lane
// level gives the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "acquisition/FrameWorkers.h"
#include "acquisition/PixelLanes.h"

struct RgbTables {
    std::array<uint8_t, 256> blue, green, red;
};

// nPixels pixels of nStep bytes from pPixels, on the given lanes.
void ApplyTablesAndMatrixRange(uint8_t* pPixels, size_t nPixels, size_t nStep,
                               const RgbTables* pTables, const float* pMatrix, LaneLevel level);

// The same in pieces on the workers (when given), on this machine's lanes.
void ApplyTablesAndMatrix(uint8_t* pPixels, size_t nPixels, size_t nStep, const RgbTables* pTables,
                          const float* pMatrix, CFrameWorkers* pWorkers);
