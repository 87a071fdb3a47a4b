// How one axis of a scaled picture takes its pixels from the source: for each
// destination pixel a run of consecutive source pixels with integer weights
// that sum to Total() for every destination pixel.
//
// Shrinking (fewer destination than source pixels) averages by area: a
// destination pixel covers source/destination source pixels, and each source
// pixel weighs by the part of it that is covered. The weights are exact
// integers (the unit is 1/gcd(source, destination) of a source pixel), so a
// shrink by a whole factor n gives each of n pixels the weight 1.
// Enlarging and equal lengths sample the nearest source pixel: the one under
// the destination pixel's centre, with the weight 1.
#pragma once

#include <cstdint>
#include <vector>

namespace platwin {

class AxisSpans {
  public:
    struct Span {
        uint32_t first;        // first source pixel
        uint32_t count;        // source pixels in the run
        uint32_t weightIndex;  // where the run's weights begin in the weight table
    };

    // Plans destinationLength pixels from sourceLength pixels (both above 0).
    // Throws std::bad_alloc when the tables cannot be allocated.
    void Plan(uint32_t sourceLength, uint32_t destinationLength);

    // Scales every span's weights to sum to total (below Total()), rounding
    // the running sum of each span so no span loses or gains weight.
    void Rescale(uint32_t total);

    uint32_t Total() const { return m_total; }
    const Span& At(uint32_t destination) const { return m_spans[destination]; }
    const uint32_t* WeightsOf(const Span& span) const { return &m_weights[span.weightIndex]; }

  private:
    void PlanArea(uint64_t sourceUnits, uint64_t destinationUnits, uint32_t destinationLength);
    void PlanNearest(uint64_t sourceLength, uint64_t destinationLength);

    std::vector<Span> m_spans;
    std::vector<uint32_t> m_weights;
    uint32_t m_total = 0;
};

}  // namespace platwin
