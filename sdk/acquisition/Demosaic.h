// The colour path's calls into the demosaicing library: the Bayer mode picks
// the pattern, the output depth and the row order, the demosaic algorithm
// the function.
#pragma once

#include <cstdint>

// Demosaic algorithms (ZDQ_FilterSetMode).
enum DemosaicAlgorithm : int {
    kNearestNeighbor = 0,
    kBilinear = 1,
    kSmoothHue = 2,
    kEdgeSensing1 = 3,
    kLaplacian = 4,
    kFastBilinear = 5,
};
constexpr int kMaxBayerMode = 23;
constexpr int kMaxDemosaicAlgorithm = 5;

// Bits per output pixel of a Bayer mode: 24 for 0-7, 32 for 8-15, 8 (grey)
// for 16-23; 0 for any other mode.
int BayerModeBitCount(int nMode);

// An 8-bit raw frame to the output of the Bayer mode with the algorithm:
// the library's result, or RET_NOTSUPPORT for a mode or algorithm outside
// the tables. pOut holds width x height x bit count / 8 bytes.
int BayerToRgb8(int nMode, int nAlgorithm, const uint8_t* pRaw, int nWidth, int nHeight,
                uint8_t* pOut);

// A 16-bit raw frame (host-order samples) to 16-bit channels by nearest
// neighbour, the row order opposite to the 8-bit path. Any other mode writes
// nothing. 1.
int BayerToRgb16(int nMode, const uint8_t* pRaw, int nWidth, int nHeight, uint8_t* pOut);
