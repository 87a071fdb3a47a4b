#include "DibScaler.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platwin {

namespace {

// The two weight totals multiply to at most 2^24, so a sum of 8-bit samples
// times their weights, plus half the divisor, stays below 2^32. Axes whose
// exact totals would multiply to more are rescaled to this total each
// (averages then come out within one step of the exact ones).
constexpr uint64_t kLargestDivisor = uint64_t{1} << 24;
constexpr uint32_t kRescaledTotal = 4096;
constexpr uint32_t kNoRow = std::numeric_limits<uint32_t>::max();
// Row spans up to this long keep their rows of column sums in the ring;
// longer ones (strong shrinks) sum their rows into one row of totals, so the
// memory stays two rows whatever the shrink.
constexpr uint32_t kLongestRingSpan = kLongestVectorSpan;

// A column group reads 16 source bytes from its window and weighs each
// destination sample with 8-bit weights, taking up to four taps; each pair
// of taps may weigh up to 256 together, so its sum of bytes offset by -128
// fits a signed 16-bit lane. The rows' weights must fit one as well.
constexpr uint32_t kWindowBytes = 16;
constexpr uint32_t kGroupTaps = 4;
constexpr uint32_t kLargestTapWeight = 255;
constexpr uint32_t kLargestPairWeight = 256;
constexpr uint32_t kLargestRowWeight = std::numeric_limits<int16_t>::max();
constexpr uint32_t kByteOffset = 128;

bool SameSpan(const AxisSpans& spans, const AxisSpans::Span& a, const AxisSpans::Span& b) {
    return a.first == b.first && a.count == b.count &&
           std::equal(spans.WeightsOf(a), spans.WeightsOf(a) + a.count, spans.WeightsOf(b));
}

// Fills the shuffles and weights of four destination samples of an 8-bit
// row starting at column span first. The window starts at their first tap,
// or earlier where that would read beyond the row. False when the taps do
// not fit the window or their weights the lanes.
bool PlanHalfGroup(const AxisSpans& columns, uint32_t first, uint32_t sourceWidth, int half,
                   ColumnGroup& group) {
    if (sourceWidth < kWindowBytes) {
        return false;
    }
    const uint32_t window = std::min(columns.At(first).first, sourceWidth - kWindowBytes);
    group.window[half] = window;
    for (uint32_t s = 0; s < 4; ++s) {
        const AxisSpans::Span& span = columns.At(first + s);
        const uint32_t* const weights = columns.WeightsOf(span);
        if (span.count > kGroupTaps || span.first + span.count > window + kWindowBytes) {
            return false;
        }
        uint32_t pairWeight = 0;
        for (uint32_t tap = 0; tap < kGroupTaps; ++tap) {
            const bool present = tap < span.count;
            const uint32_t weight = present ? weights[tap] : 0;
            pairWeight = tap % 2 == 0 ? weight : pairWeight + weight;
            if (weight > kLargestTapWeight || pairWeight > kLargestPairWeight) {
                return false;
            }
            const uint32_t lane = 16 * half + 4 * s + tap;
            group.taps[lane] =
                present ? static_cast<int8_t>(span.first + tap - window) : int8_t{-128};
            group.weights[lane] = static_cast<uint8_t>(weight);
        }
    }
    return true;
}

}  // namespace

ExactDivider::ExactDivider(uint32_t divisor)
    : m_multiplier(divisor <= 1 ? 0 : std::numeric_limits<uint64_t>::max() / divisor + 1) {}

void DibScaler::Plan(const ScaleSize& size) {
    if (m_planned && m_size == size) {
        return;
    }
    m_planned = false;
    m_columns.Plan(size.sourceWidth, size.destinationWidth);
    m_rows.Plan(size.sourceHeight, size.destinationHeight);
    if (uint64_t{m_columns.Total()} * m_rows.Total() > kLargestDivisor) {
        for (AxisSpans* axis : {&m_columns, &m_rows}) {
            if (axis->Total() > kRescaledTotal) {
                axis->Rescale(kRescaledTotal);
            }
        }
    }
    m_divider = ExactDivider(m_columns.Total() * m_rows.Total());
    m_size = size;
    const size_t samples = size_t{size.destinationWidth} * size.bytesPerPixel;
    m_nearestBytes.clear();
    m_ring.clear();
    m_ringRows.clear();
    m_spanRows.clear();
    m_totals.clear();
    m_groups.clear();
    m_division = {};
    if (m_columns.Total() == 1 && m_rows.Total() == 1) {
        m_nearestBytes.resize(samples);
        for (uint32_t x = 0; x < size.destinationWidth; ++x) {
            for (int channel = 0; channel < size.bytesPerPixel; ++channel) {
                m_nearestBytes[size_t{x} * size.bytesPerPixel + channel] =
                    m_columns.At(x).first * size.bytesPerPixel + channel;
            }
        }
    } else {
        uint32_t longestSpan = 1;
        for (uint32_t y = 0; y < size.destinationHeight; ++y) {
            longestSpan = std::max(longestSpan, m_rows.At(y).count);
        }
        if (longestSpan <= kLongestRingSpan) {
            m_ring.assign(longestSpan * samples, 0);
            m_ringRows.assign(longestSpan, kNoRow);
            m_spanRows.assign(longestSpan, nullptr);
        } else {
            m_ring.assign(samples, 0);
            m_totals.assign(samples, 0);
        }
        if (HasAvx2()) {
            PlanVectorPasses();
        }
    }
    m_planned = true;
}

void DibScaler::PlanVectorPasses() {
    m_division = PlanSumDivision(m_columns.Total() * m_rows.Total());
    // Pair sums are finished only by the vector pass over a ring of rows.
    if (m_size.bytesPerPixel != 1 || m_division.multiplier == 0 || m_ringRows.empty()) {
        return;
    }
    for (uint32_t y = 0; y < m_size.destinationHeight; ++y) {
        const AxisSpans::Span& span = m_rows.At(y);
        const uint32_t* const weights = m_rows.WeightsOf(span);
        if (std::any_of(weights, weights + span.count,
                        [](uint32_t weight) { return weight > kLargestRowWeight; })) {
            return;
        }
    }
    for (uint32_t first = 0; first + 8 <= m_size.destinationWidth; first += 8) {
        ColumnGroup group{};
        if (!PlanHalfGroup(m_columns, first, m_size.sourceWidth, 0, group) ||
            !PlanHalfGroup(m_columns, first + 4, m_size.sourceWidth, 1, group)) {
            break;  // the rest of the row is summed sample by sample
        }
        m_groups.push_back(group);
    }
}

void DibScaler::Scale(const SourceRows& source, const DestinationRows& destination) {
    if (!m_nearestBytes.empty()) {
        ScaleNearest(source, destination);
        return;
    }
    const size_t samples = size_t{m_size.destinationWidth} * m_size.bytesPerPixel;
    std::fill(m_ringRows.begin(), m_ringRows.end(), kNoRow);  // a new frame
    const uint32_t ringLength = static_cast<uint32_t>(m_ringRows.size());
    for (uint32_t y = 0; y < m_size.destinationHeight; ++y) {
        const AxisSpans::Span& span = m_rows.At(y);
        uint8_t* const out = destination.Row(y);
        // Neighbouring destination rows of an enlargement share their source row.
        if (y > 0 && SameSpan(m_rows, span, m_rows.At(y - 1))) {
            std::memcpy(out, destination.Row(y - 1), samples);
            continue;
        }
        if (m_ringRows.empty()) {
            FinishLongSpan(source, span, out);
            continue;
        }
        // The rows of the span not in the ring yet are summed together.
        const uint8_t* rows[kLongestRowBatch];
        uint32_t* sums[kLongestRowBatch];
        uint32_t batch = 0;
        for (uint32_t row = span.first; row < span.first + span.count; ++row) {
            const uint32_t slot = row % ringLength;
            if (m_ringRows[slot] == row) {
                continue;
            }
            rows[batch] = source.Row(row);
            sums[batch] = &m_ring[slot * samples];
            m_ringRows[slot] = row;
            if (++batch == kLongestRowBatch) {
                SumColumns(rows, batch, sums);
                batch = 0;
            }
        }
        if (batch > 0) {
            SumColumns(rows, batch, sums);
        }
        FinishRow(span, out, NextRows(source, y));
    }
}

void DibScaler::FinishLongSpan(const SourceRows& source, const AxisSpans::Span& span,
                               uint8_t* out) {
    const size_t samples = size_t{m_size.destinationWidth} * m_size.bytesPerPixel;
    uint32_t* const sums = m_ring.data();
    uint32_t* const totals = m_totals.data();
    std::fill(totals, totals + samples, m_columns.Total() * m_rows.Total() / 2);
    const uint32_t* const weights = m_rows.WeightsOf(span);
    for (uint32_t k = 0; k < span.count; ++k) {
        const uint8_t* const row = source.Row(span.first + k);
        SumColumns(&row, 1, &sums);
        for (size_t i = 0; i < samples; ++i) {
            totals[i] += weights[k] * sums[i];
        }
    }
    for (size_t i = 0; i < samples; ++i) {
        out[i] = static_cast<uint8_t>(m_divider.Divide(totals[i]));
    }
}

void DibScaler::ScaleNearest(const SourceRows& source, const DestinationRows& destination) const {
    const size_t samples = m_nearestBytes.size();
    const uint32_t* const bytes = m_nearestBytes.data();
    for (uint32_t y = 0; y < m_size.destinationHeight; ++y) {
        uint8_t* const out = destination.Row(y);
        if (y > 0 && m_rows.At(y).first == m_rows.At(y - 1).first) {
            std::memcpy(out, destination.Row(y - 1), samples);
            continue;
        }
        const uint8_t* const row = source.Row(m_rows.At(y).first);
        for (size_t i = 0; i < samples; ++i) {
            out[i] = row[bytes[i]];
        }
    }
}

void DibScaler::SumColumns(const uint8_t* const* rows, uint32_t rowCount,
                           uint32_t* const* sums) const {
    if (!m_groups.empty()) {
        SumColumnGroupsAvx2(rows, rowCount, m_groups.data(), m_groups.size(), sums);
    }
    const int bytesPerPixel = m_size.bytesPerPixel;
    for (uint32_t r = 0; r < rowCount; ++r) {
        for (uint32_t x = static_cast<uint32_t>(8 * m_groups.size()); x < m_size.destinationWidth;
             ++x) {
            const AxisSpans::Span& span = m_columns.At(x);
            const uint32_t* const weights = m_columns.WeightsOf(span);
            const uint8_t* const pixel = rows[r] + size_t{span.first} * bytesPerPixel;
            for (int channel = 0; channel < bytesPerPixel; ++channel) {
                uint32_t sum = 0;
                for (uint32_t k = 0; k < span.count; ++k) {
                    sum += weights[k] * pixel[size_t{k} * bytesPerPixel + channel];
                }
                sums[r][size_t{x} * bytesPerPixel + channel] = sum;
            }
        }
    }
}

RowPrefetch DibScaler::NextRows(const SourceRows& source, uint32_t y) const {
    if (y + 1 >= m_size.destinationHeight) {
        return {};
    }
    const AxisSpans::Span& span = m_rows.At(y);
    const AxisSpans::Span& next = m_rows.At(y + 1);
    const uint32_t first = std::max(span.first + span.count, next.first);
    const uint32_t end = next.first + next.count;
    if (first >= end) {
        return {};
    }
    return {source.Row(first), source.pitch, end - first,
            size_t{m_size.sourceWidth} * m_size.bytesPerPixel};
}

void DibScaler::FinishRow(const AxisSpans::Span& span, uint8_t* out, const RowPrefetch& next) {
    const size_t samples = size_t{m_size.destinationWidth} * m_size.bytesPerPixel;
    const uint32_t half = m_columns.Total() * m_rows.Total() / 2;
    const uint32_t* const weights = m_rows.WeightsOf(span);
    for (uint32_t k = 0; k < span.count; ++k) {
        m_spanRows[k] = &m_ring[((span.first + k) % m_spanRows.size()) * samples];
    }
    const uint32_t* const* const rows = m_spanRows.data();
    size_t i = 0;
    if (!m_groups.empty()) {
        // The grouped samples hold pair sums of bytes offset by -128: the
        // offset, weighed by every tap, comes back through half.
        i = 8 * m_groups.size();
        const uint32_t offset = kByteOffset * m_columns.Total() * m_rows.Total();
        FinishPairSamplesAvx2(rows, weights, span.count, half + offset, m_division, out, 0, i,
                              next);
    }
    if (m_division.multiplier != 0) {
        const size_t end = i + (samples - i) / 8 * 8;
        // The next rows are prefetched once, by the first pass over the row.
        FinishSamplesAvx2(rows, weights, span.count, half, m_division, out, i, end,
                          m_groups.empty() ? next : RowPrefetch{});
        i = end;
    }
    for (; i < samples; ++i) {
        uint32_t sum = half;
        for (uint32_t k = 0; k < span.count; ++k) {
            sum += weights[k] * rows[k][i];
        }
        out[i] = static_cast<uint8_t>(m_divider.Divide(sum));
    }
}

}  // namespace platwin
