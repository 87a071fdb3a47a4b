#include "AxisSpans.h"

#include <algorithm>
#include <numeric>

namespace platwin {

void AxisSpans::Plan(uint32_t sourceLength, uint32_t destinationLength) {
    m_spans.clear();
    m_weights.clear();
    m_spans.reserve(destinationLength);
    if (destinationLength >= sourceLength) {
        PlanNearest(sourceLength, destinationLength);
        return;
    }
    const uint32_t common = std::gcd(sourceLength, destinationLength);
    PlanArea(sourceLength / common, destinationLength / common, destinationLength);
}

// Destination pixel d covers [d * sourceUnits, (d + 1) * sourceUnits) and
// source pixel c covers [c * destinationUnits, (c + 1) * destinationUnits) on
// a common scale; a source pixel's weight is the length of the overlap.
void AxisSpans::PlanArea(uint64_t sourceUnits, uint64_t destinationUnits,
                         uint32_t destinationLength) {
    m_weights.reserve(destinationLength + destinationLength * sourceUnits / destinationUnits + 1);
    for (uint64_t d = 0; d < destinationLength; ++d) {
        const uint64_t begin = d * sourceUnits;
        const uint64_t end = begin + sourceUnits;
        const uint64_t first = begin / destinationUnits;
        const uint64_t last = (end - 1) / destinationUnits;
        m_spans.push_back({static_cast<uint32_t>(first), static_cast<uint32_t>(last - first + 1),
                           static_cast<uint32_t>(m_weights.size())});
        for (uint64_t c = first; c <= last; ++c) {
            const uint64_t covered =
                std::min((c + 1) * destinationUnits, end) - std::max(c * destinationUnits, begin);
            m_weights.push_back(static_cast<uint32_t>(covered));
        }
    }
    m_total = static_cast<uint32_t>(sourceUnits);
}

void AxisSpans::PlanNearest(uint64_t sourceLength, uint64_t destinationLength) {
    m_weights.assign(1, 1);
    for (uint64_t d = 0; d < destinationLength; ++d) {
        const uint64_t centre = (2 * d + 1) * sourceLength / (2 * destinationLength);
        m_spans.push_back({static_cast<uint32_t>(centre), 1, 0});
    }
    m_total = 1;
}

void AxisSpans::Rescale(uint32_t total) {
    const uint64_t oldTotal = m_total;
    const auto scaled = [&](uint64_t sum) {
        return static_cast<uint32_t>((sum * total + oldTotal / 2) / oldTotal);
    };
    for (const Span& span : m_spans) {
        uint32_t* const weights = &m_weights[span.weightIndex];
        uint64_t sum = 0;
        for (uint32_t k = 0; k < span.count; ++k) {
            const uint32_t before = scaled(sum);
            sum += weights[k];
            weights[k] = scaled(sum) - before;
        }
    }
    m_total = total;
}

}  // namespace platwin
