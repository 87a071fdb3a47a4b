// The inner loops of DibScaler that run in AVX2 registers, and the tables
// they read. Each computes exactly the integers of the scalar loops in
// DibScaler.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platwin {

// True when the processor runs AVX2 (never in builds with VARNU_SCALAR_ONLY).
bool HasAvx2();

// Eight destination samples of an 8-bit row summed by shuffles: two windows
// of 16 source bytes (samples 0-3 and 4-7), and for each window the byte
// shuffles and 16-bit weights of taps 0-1 and 2-3 of its four samples. A
// shuffle entry -128 gives a zero byte: the high byte of each 16-bit sample,
// and the taps a sample does not have.
struct ColumnGroup {
    alignas(32) int8_t firstTaps[32];
    int8_t lastTaps[32];
    int16_t firstWeights[16];
    int16_t lastWeights[16];
    uint32_t window[2];  // source byte where each window starts
};

// floor(n / divisor) = (n * multiplier) >> shift for every n below
// 256 * divisor; multiplier 0 when no 32-bit multiplier does that.
struct SumDivision {
    uint32_t multiplier = 0;
    uint32_t shift = 0;
};

SumDivision PlanSumDivision(uint32_t divisor);

// sums[8 * i + j] for the groups i < count: the column sums of one source row.
void SumColumnGroupsAvx2(const uint8_t* row, const ColumnGroup* groups, size_t count,
                         uint32_t* sums);

// out[i] = (half + sum of weights[k] * rows[k][i] for k < count) / divisor for
// i < n, n a multiple of 8.
void FinishSamplesAvx2(const uint32_t* const* rows, const uint32_t* weights, uint32_t count,
                       uint32_t half, SumDivision division, uint8_t* out, size_t n);

}  // namespace platwin
