// Scales the pixels of a DIB to another size: the spans of both axes are
// planned once for a pair of sizes and reused for every frame of that pair.
//
// Each destination sample is the weighted sum of the source samples its row
// and column spans cover (AxisSpans), divided by the product of the two
// weight totals and rounded half up, in 32-bit integers. Every byte of a
// pixel is a channel of its own (grey or palette index; B, G, R; B, G, R, X).
//
// Each source row the destination needs is read once: a horizontal pass sums
// its column spans into a row of column sums, kept in a ring of as many rows
// as the longest row span; a vertical pass then adds the column sums of a
// destination row's span and divides. Strong vertical shrinks (row spans
// longer than eight rows) add each row's column sums into one row of totals
// instead, reading the rows two destination rows share twice. Pictures
// sampled nearest on both axes (enlarged, or the same size) are copied byte
// by byte, and a destination row that repeats the one before it is copied
// from it. Where the processor has AVX2 the vertical pass runs in 32-bit
// lanes; on 8-bit pictures shrunk across by less than a factor of about
// three (and down through the ring), the horizontal pass gathers each
// sample's taps with one byte shuffle and keeps two 16-bit pair sums per
// sample, which the vertical pass weighs and adds in one step; the rows a
// destination row adds to the ring are summed in one sweep over the column
// groups, so each group's shuffle and weights are loaded once for all of
// them. While the vertical pass finishes a destination row it prefetches
// the source rows the next one adds, a few lines at each step, so that
// reading them overlaps its arithmetic. The sums are the same integers on
// every path.
#pragma once

#include <cstdint>
#include <vector>

#include "AxisSpans.h"
#include "Dib.h"
#include "ScaleKernels.h"

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
    // Plans the spans, the sum rows and the vector tables for size (all
    // lengths above 0), unless they are planned for it already. Throws
    // std::bad_alloc when the tables cannot be allocated; the scaler is then
    // unplanned.
    void Plan(const ScaleSize& size);

    // Scales the planned source rows into the destination rows. Only the
    // pixel bytes of each destination row are written, not its padding.
    void Scale(const SourceRows& source, const DestinationRows& destination);

  private:
    void PlanVectorPasses();
    void ScaleNearest(const SourceRows& source, const DestinationRows& destination) const;
    // Sums the column spans of each of rowCount source rows (at most
    // kLongestRowBatch) into its row of column sums.
    void SumColumns(const uint8_t* const* rows, uint32_t rowCount, uint32_t* const* sums) const;
    // The source rows destination row y + 1 adds to those of row y.
    RowPrefetch NextRows(const SourceRows& source, uint32_t y) const;
    // Adds the column sums of a row span, divides and stores one row;
    // meanwhile the processor fetches the next rows.
    void FinishRow(const AxisSpans::Span& span, uint8_t* out, const RowPrefetch& next);
    // The same for a long row span: its rows summed one after the other.
    void FinishLongSpan(const SourceRows& source, const AxisSpans::Span& span, uint8_t* out);

    bool m_planned = false;
    ScaleSize m_size{};
    AxisSpans m_columns;
    AxisSpans m_rows;
    ExactDivider m_divider;
    SumDivision m_division;             // multiplier 0: the vertical pass divides sample by sample
    std::vector<ColumnGroup> m_groups;  // pair sums of the samples 8 * i .. 8 * i + 7
    std::vector<uint32_t> m_ring;       // m_ringRows.size() rows of column sums, or one row
    std::vector<uint32_t> m_ringRows;   // the source row each ring row holds; none: long spans
    std::vector<uint32_t> m_totals;     // long spans: the weighted sums of a destination row
    std::vector<const uint32_t*> m_spanRows;  // the ring rows of the row span being finished
    std::vector<uint32_t> m_nearestBytes;     // nearest: source byte of each destination byte
};

}  // namespace platwin
