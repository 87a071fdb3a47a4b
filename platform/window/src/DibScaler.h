// Scales the pixels of a DIB to another size: the spans of both axes are
// planned once for a pair of sizes and reused for every frame of that pair.
//
// Each destination sample is the weighted sum of the source samples its row
// and column spans cover (AxisSpans), divided by the product of the two
// weight totals and rounded half up, in 32-bit integers: first a vertical
// pass sums the covered source rows into one row of accumulators, then a
// horizontal pass sums the accumulators of each column span. Every byte of a
// pixel is a channel of its own (grey or palette index; B, G, R; B, G, R, X).
#pragma once

#include <cstdint>
#include <vector>

#include "AxisSpans.h"
#include "Dib.h"

namespace platwin {

// Divides by a fixed divisor with a multiplication: exact for every 32-bit
// dividend and divisor (Lemire, Kaser and Kurz, "Faster remainder by direct
// computation", 2019).
class ExactDivider {
  public:
    explicit ExactDivider(uint32_t divisor = 1);
    uint32_t Divide(uint32_t dividend) const {
        if (m_multiplier == 0) {
            return dividend;  // divisor 1
        }
        return static_cast<uint32_t>((static_cast<unsigned __int128>(m_multiplier) * dividend) >>
                                     64);
    }

  private:
    uint64_t m_multiplier;
};

struct ScaleSize {
    uint32_t sourceWidth;
    uint32_t sourceHeight;
    uint32_t destinationWidth;
    uint32_t destinationHeight;
    int bytesPerPixel;  // 1, 3 or 4

    bool operator==(const ScaleSize& other) const {
        return sourceWidth == other.sourceWidth && sourceHeight == other.sourceHeight &&
               destinationWidth == other.destinationWidth &&
               destinationHeight == other.destinationHeight && bytesPerPixel == other.bytesPerPixel;
    }
};

class DibScaler {
  public:
    // Plans the spans and the accumulator row for size (all lengths above 0),
    // unless they are planned for it already. Throws std::bad_alloc when the
    // tables cannot be allocated; the scaler is then unplanned.
    void Plan(const ScaleSize& size);

    // Scales the planned source rows into the destination rows. Only the
    // pixel bytes of each destination row are written, not its padding.
    void Scale(const SourceRows& source, const DestinationRows& destination);

  private:
    template <int kBytesPerPixel>
    void ScaleRows(const SourceRows& source, const DestinationRows& destination);
    // Sums the source rows of a row span into m_accumulators.
    void SumRows(const SourceRows& source, const AxisSpans::Span& span);

    bool m_planned = false;
    ScaleSize m_size{};
    AxisSpans m_columns;
    AxisSpans m_rows;
    ExactDivider m_divider;
    std::vector<uint32_t> m_accumulators;  // one per sample of a source row
};

}  // namespace platwin
