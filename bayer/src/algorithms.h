// Whole demosaicing calls: pre-fill, border fill and interior passes of each
// family, as templates over pattern, row order, sample size and the family's
// variants. The exports (exports.cpp) are instantiations of these.
#pragma once

#include "border_fill.h"
#include "cfa_layout.h"
#include "cpu_features.h"
#include "debugger_output.h"
#include "interior_3x3.h"
#include "laplacian_lanes.h"
#include "pixel_rules.h"
#include "smooth_hue_lanes.h"
#include "two_pass.h"

namespace mtzdq {

constexpr bool kUpright = false;
constexpr bool kFlipped = true;

// What a function does to the fourth byte of 32-bit output: leave the
// caller's value, or pre-fill the whole destination with 0xFF or 0.
enum class FourthByte { kKept, kOpaque, kZero };

// The destination of a colour call, or no channels for an unsupported bit
// count (nothing is written then).
template <class Sample, bool Flip>
inline DstFrame<Sample, Flip> colour_dst(unsigned char* dst, int width, int height,
                                         unsigned short bit_count) {
    return DstFrame<Sample, Flip>{reinterpret_cast<Sample*>(dst), width, height,
                                  channels_for(bit_count)};
}

template <class Sample>
inline RawFrame<Sample> raw_frame(const unsigned char* raw, int width, int height) {
    return RawFrame<Sample>{reinterpret_cast<const Sample*>(raw), width, height};
}

// With 24-bit output every byte is written afterwards, so a pre-fill would
// have no visible effect and is skipped.
template <class Sample, bool Flip>
inline void apply_fourth_byte(const DstFrame<Sample, Flip>& dst, FourthByte rule) {
    if (dst.channels == 4 && rule != FourthByte::kKept) {
        prefill(dst, rule == FourthByte::kOpaque ? 0xFF : 0x00);
    }
}

// Debugger texts a call sends before and after its border fill (none if null).
struct Trace {
    const char* before_border = nullptr;
    const char* after_border = nullptr;
};

// Common frame of the one-pass 3x3 families.
template <class Rule, Pattern P, bool Flip, class Sample, FourthByte Fourth>
int one_pass_3x3(unsigned char* raw_bytes, int width, int height, unsigned char* dst_bytes,
                 unsigned short bit_count, Trace trace = {}) {
    const auto dst = colour_dst<Sample, Flip>(dst_bytes, width, height, bit_count);
    if (dst.channels == 0 || !frame_usable(width, height)) {
        return 0;
    }
    const auto raw = raw_frame<Sample>(raw_bytes, width, height);
    apply_fourth_byte(dst, Fourth);
    if (trace.before_border != nullptr) {
        debugger_output(trace.before_border);
    }
    // The border fill runs inside the row pass, unless a text is sent after
    // it: then it stays a pass of its own, done when the text goes out.
    if (trace.after_border == nullptr) {
        rows_3x3<Rule, P>(raw, dst, vector_level(), RowBorder::kInRowPass);
        return 0;
    }
    fill_border1<P>(raw, dst);
    debugger_output(trace.after_border);
    rows_3x3<Rule, P>(raw, dst, vector_level(), RowBorder::kSeparate);
    return 0;
}

template <Pattern P, bool Flip, class Sample>
int edge1(unsigned char* raw_bytes, int width, int height, unsigned char* dst_bytes,
          unsigned short bit_count) {
    const auto dst = colour_dst<Sample, Flip>(dst_bytes, width, height, bit_count);
    if (dst.channels != 0) {
        fill_border1<P>(raw_frame<Sample>(raw_bytes, width, height), dst);
    }
    return 0;
}

template <Pattern P, bool Flip>
int edge2(unsigned char* raw_bytes, int width, int height, unsigned char* dst_bytes,
          unsigned short bit_count) {
    const auto dst = colour_dst<std::uint8_t, Flip>(dst_bytes, width, height, bit_count);
    if (dst.channels != 0) {
        fill_border2<P>(raw_frame<std::uint8_t>(raw_bytes, width, height), dst);
    }
    return 0;
}

template <Pattern P, bool Flip, class Sample, NearestVariant Variant,
          FourthByte Fourth = FourthByte::kKept>
int nearest_neighbor(unsigned char* raw, int width, int height, unsigned char* dst,
                     unsigned short bit_count, Trace trace = {}) {
    return one_pass_3x3<NearestRule<Variant>, P, Flip, Sample, Fourth>(raw, width, height, dst,
                                                                       bit_count, trace);
}

template <Pattern P, bool Flip, FourthByte Fourth>
int bilinear(unsigned char* raw, int width, int height, unsigned char* dst,
             unsigned short bit_count) {
    return one_pass_3x3<BilinearRule, P, Flip, std::uint8_t, Fourth>(raw, width, height, dst,
                                                                     bit_count);
}

// Bilinear behind a bit-count check: -1, and nothing written, unless 24 or 32.
template <Pattern P, bool Flip, FourthByte Fourth>
int fast_bilinear(unsigned char* raw, int width, int height, unsigned char* dst,
                  unsigned short bit_count) {
    if (channels_for(bit_count) == 0) {
        return -1;
    }
    return bilinear<P, Flip, Fourth>(raw, width, height, dst, bit_count);
}

template <Pattern P, bool Flip, bool DiagonalChoice>
int edge_sensing(unsigned char* raw, int width, int height, unsigned char* dst,
                 unsigned short bit_count) {
    return one_pass_3x3<EdgeSensingRule<DiagonalChoice>, P, Flip, std::uint8_t, FourthByte::kKept>(
        raw, width, height, dst, bit_count);
}

template <Pattern P, bool Flip, FourthByte Fourth>
int smooth_hue(unsigned char* raw_bytes, int width, int height, unsigned char* dst_bytes,
               unsigned short bit_count) {
    const auto dst = colour_dst<std::uint8_t, Flip>(dst_bytes, width, height, bit_count);
    if (dst.channels == 0 || !frame_usable(width, height)) {
        return 0;
    }
    const auto raw = raw_frame<std::uint8_t>(raw_bytes, width, height);
    apply_fourth_byte(dst, Fourth);
    fill_border1<P>(raw, dst);
    if (has_avx2(vector_level()) && smooth_hue_lanes<P>(raw, dst)) {
        return 0;
    }
    smooth_hue_green_pass<P>(raw, dst);
    smooth_hue_ratio_pass<P>(raw, dst);
    return 0;
}

template <Pattern P, bool Flip>
int laplacian(unsigned char* raw_bytes, int width, int height, unsigned char* dst_bytes,
              unsigned short bit_count) {
    const auto dst = colour_dst<std::uint8_t, Flip>(dst_bytes, width, height, bit_count);
    if (dst.channels == 0 || !frame_usable(width, height)) {
        return 0;
    }
    const auto raw = raw_frame<std::uint8_t>(raw_bytes, width, height);
    apply_fourth_byte(dst, FourthByte::kOpaque);
    fill_border2<P>(raw, dst);
    if (has_avx2(vector_level()) && laplacian_lanes<P>(raw, dst, 2)) {
        return 0;
    }
    laplacian_green_pass<P>(raw, dst, 2);
    laplacian_colour_pass<P>(raw, dst);
    return 0;
}

// The RGGB variant whose green pass starts at (4, 4). It stays inside the
// frame: it covers rows and columns 4 to size - 3, the pixels whose 5x5
// neighbourhood is in the raw frame. Interior pixels it does not reach keep
// the 0xFF of the pre-fill as green (visible with 24-bit output as well, so
// the pre-fill always runs here). Inside the green pass's rectangle the two
// passes write all three channels, so 3-byte pixels are pre-filled around it
// only; 4-byte pixels keep the pre-fill as their fourth byte everywhere.
inline int laplacian2_rggb(unsigned char* raw_bytes, int width, int height,
                           unsigned char* dst_bytes, unsigned short bit_count) {
    constexpr int first = 4;
    const auto dst = colour_dst<std::uint8_t, kUpright>(dst_bytes, width, height, bit_count);
    if (dst.channels == 0 || !frame_usable(width, height)) {
        return 0;
    }
    const auto raw = raw_frame<std::uint8_t>(raw_bytes, width, height);
    if (dst.channels == 4) {
        prefill(dst, 0xFF);
    } else {
        prefill_outside(dst, 0xFF, first, first, height - 3, width - 3);
    }
    fill_border2<Pattern::RGGB>(raw, dst);
    if (has_avx2(vector_level()) && laplacian_lanes<Pattern::RGGB>(raw, dst, first)) {
        return 0;
    }
    laplacian_green_pass<Pattern::RGGB>(raw, dst, first);
    laplacian_colour_pass<Pattern::RGGB>(raw, dst);
    return 0;
}

// Grey: each value the floor mean of the 2x2 block whose top-left pixel it
// is, for image rows 0 to height - 2. The last column(s) copy their left
// neighbour: with CopyTwoColumns columns width - 2 and width - 1 both copy
// width - 3, otherwise width - 1 copies width - 2. The last image row copies
// the one above it.
template <class Sample, bool Flip, bool CopyTwoColumns>
int grey(unsigned char* raw_bytes, int width, int height, unsigned char* dst_bytes) {
    const int copied = CopyTwoColumns ? 2 : 1;
    if (width < copied + 1 || height < 2) {
        return 0;
    }
    const auto raw = raw_frame<Sample>(raw_bytes, width, height);
    const DstFrame<Sample, Flip> dst{reinterpret_cast<Sample*>(dst_bytes), width, height, 1};
    const int computed = width - copied;
    for (int y = 0; y <= height - 2; ++y) {
        const Sample* a = raw.row(y);
        const Sample* b = raw.row(y + 1);
        Sample* out = dst.row(y);
        for (int x = 0; x < computed; ++x) {
            const std::uint32_t sum = std::uint32_t{a[x]} + a[x + 1] + b[x] + b[x + 1];
            out[x] = static_cast<Sample>(sum >> 2);
        }
        for (int x = computed; x < width; ++x) {
            out[x] = out[x - 1];
        }
    }
    std::memcpy(dst.row(height - 1), dst.row(height - 2),
                static_cast<std::size_t>(width) * sizeof(Sample));
    return 0;
}

}  // namespace mtzdq
