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

bool SameSpan(const AxisSpans& spans, const AxisSpans::Span& a, const AxisSpans::Span& b) {
    return a.first == b.first && a.count == b.count &&
           std::equal(spans.WeightsOf(a), spans.WeightsOf(a) + a.count, spans.WeightsOf(b));
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
    m_accumulators.assign(size_t{size.sourceWidth} * size.bytesPerPixel, 0);
    m_size = size;
    m_planned = true;
}

void DibScaler::Scale(const SourceRows& source, const DestinationRows& destination) {
    switch (m_size.bytesPerPixel) {
        case 1:
            ScaleRows<1>(source, destination);
            break;
        case 3:
            ScaleRows<3>(source, destination);
            break;
        default:
            ScaleRows<4>(source, destination);
            break;
    }
}

void DibScaler::SumRows(const SourceRows& source, const AxisSpans::Span& span) {
    const size_t samples = m_accumulators.size();
    uint32_t* __restrict const sums = m_accumulators.data();
    const uint32_t* const weights = m_rows.WeightsOf(span);
    const uint8_t* __restrict row = source.Row(span.first);
    const uint32_t firstWeight = weights[0];
    for (size_t i = 0; i < samples; ++i) {
        sums[i] = firstWeight * row[i];
    }
    for (uint32_t k = 1; k < span.count; ++k) {
        row = source.Row(span.first + k);
        const uint32_t weight = weights[k];
        for (size_t i = 0; i < samples; ++i) {
            sums[i] += weight * row[i];
        }
    }
}

template <int kBytesPerPixel>
void DibScaler::ScaleRows(const SourceRows& source, const DestinationRows& destination) {
    const uint32_t half = m_columns.Total() * m_rows.Total() / 2;
    const uint32_t* const sums = m_accumulators.data();
    for (uint32_t y = 0; y < m_size.destinationHeight; ++y) {
        const AxisSpans::Span& rowSpan = m_rows.At(y);
        // Neighbouring destination rows of an enlargement share their source row.
        if (y == 0 || !SameSpan(m_rows, rowSpan, m_rows.At(y - 1))) {
            SumRows(source, rowSpan);
        }
        uint8_t* out = destination.Row(y);
        for (uint32_t x = 0; x < m_size.destinationWidth; ++x) {
            const AxisSpans::Span& columnSpan = m_columns.At(x);
            const uint32_t* const weights = m_columns.WeightsOf(columnSpan);
            const uint32_t* pixel = sums + size_t{columnSpan.first} * kBytesPerPixel;
            uint32_t pixelSums[kBytesPerPixel];
            for (int channel = 0; channel < kBytesPerPixel; ++channel) {
                pixelSums[channel] = half;
            }
            for (uint32_t k = 0; k < columnSpan.count; ++k, pixel += kBytesPerPixel) {
                const uint32_t weight = weights[k];
                for (int channel = 0; channel < kBytesPerPixel; ++channel) {
                    pixelSums[channel] += weight * pixel[channel];
                }
            }
            for (int channel = 0; channel < kBytesPerPixel; ++channel) {
                out[channel] = static_cast<uint8_t>(m_divider.Divide(pixelSums[channel]));
            }
            out += kBytesPerPixel;
        }
    }
}

}  // namespace platwin
