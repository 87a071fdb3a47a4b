// The inner loops of DibScaler that run in AVX2 registers, and the tables
// they read. Each computes exactly the integers of the scalar loops in
// DibScaler.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platwin {

// True when the processor runs AVX2 (never in builds with VARNU_SCALAR_ONLY).
bool HasAvx2();

// Eight destination samples of an 8-bit row summed by one shuffle: two
// windows of 16 source bytes (samples 0-3 and 4-7); in each, the four taps of
// its four samples gathered in order with their unsigned 8-bit weights. A
// shuffle entry -128 gives a zero byte, which a tap a sample does not have
// takes with the weight 0. The bytes are offset by -128 so that each pair of
// taps (0-1 and 2-3) sums into a signed 16-bit lane: a sample's slot holds the
// two pair sums, taps 0-1 in its low half. Planned only where the weights of
// each pair add up to at most 256, so no pair sum saturates.
struct ColumnGroup {
    alignas(32) int8_t taps[32];
    uint8_t weights[32];
    uint32_t window[2];  // source byte where each window starts
};

// floor(n / divisor) = (n * multiplier) >> shift for every n below
// 256 * divisor, with shift at least 32; multiplier 0 when no 32-bit
// multiplier does that.
struct SumDivision {
    uint32_t multiplier = 0;
    uint32_t shift = 0;
};

SumDivision PlanSumDivision(uint32_t divisor);

// Source rows the horizontal pass sums in one sweep over the column groups,
// each group's shuffle and weights loaded once for all of them.
constexpr uint32_t kLongestRowBatch = 4;

// pairs[r][8 * i + j] for the groups i < count and the rows r < rowCount
// (0 < rowCount <= kLongestRowBatch): the pair sums of source row rows[r],
// offset by -128 per byte.
void SumColumnGroupsAvx2(const uint8_t* const* rows, uint32_t rowCount, const ColumnGroup* groups,
                         size_t count, uint32_t* const* pairs);

// Spans of the vertical pass run in registers up to this many rows.
constexpr uint32_t kLongestVectorSpan = 8;

// Source rows to bring into the cache while a destination row is finished:
// rowCount rows of rowBytes bytes, the first at first, each pitch bytes
// after the one before.
struct RowPrefetch {
    const uint8_t* first = nullptr;
    ptrdiff_t pitch = 0;
    uint32_t rowCount = 0;
    size_t rowBytes = 0;
};

// out[i] = (half + sum of weights[k] * rows[k][i] for k < count) / divisor for
// begin <= i < end, end - begin a multiple of 8, 0 < count <= kLongestVectorSpan.
// Between its steps it prefetches the lines of the rows of prefetch, spread
// over the steps, so that they arrive while the arithmetic runs.
void FinishSamplesAvx2(const uint32_t* const* rows, const uint32_t* weights, uint32_t count,
                       uint32_t half, SumDivision division, uint8_t* out, size_t begin, size_t end,
                       const RowPrefetch& prefetch);

// The same for rows of pair sums (SumColumnGroupsAvx2): a sample's column sum
// is its two pair sums added, so half must include the offset (128 times the
// divisor). Each weight must fit a signed 16-bit lane.
void FinishPairSamplesAvx2(const uint32_t* const* rows, const uint32_t* weights, uint32_t count,
                           uint32_t half, SumDivision division, uint8_t* out, size_t begin,
                           size_t end, const RowPrefetch& prefetch);

}  // namespace platwin
