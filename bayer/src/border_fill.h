// Border fills: the outermost one or two rows and columns of a colour image,
// each pixel taking its values from a 2x2 window of raw samples. The 3x3
// algorithms start with the 1-pixel fill, the 5x5 ones with the 2-pixel fill;
// both are also exported on their own.
//
// Window of border pixel (y, x): rows y and y + 1 (the last row uses the two
// last rows), columns x - 1 and x (column 0 uses columns 0 and 1). Each window
// holds one red, one blue and two green sites, one green in each row. A pixel
// keeps its own sample, takes the red or blue it lacks from the window and, at
// a red or blue site, green from the window's green in its own row. Only
// channels 0 to 2 are written.
#pragma once

#include "cfa_layout.h"

namespace mtzdq {

// Places where a fill takes one value from elsewhere than its window.
enum class BorderQuirk {
    kNone,
    // Top-row blue sites from column 2 on take red from the lower-right
    // diagonal (1, x + 1).
    kTopBlueRedFromLowerRight,
    // At column width - 2 of the rows between the two-row bands:
    kRightRedGreenFromRight,      // red sites: green from (y, width - 1)
    kRightBlueRedFromLowerRight,  // blue sites: red from (y + 1, width - 1)
    kRightRedBlueFromLowerRight,  // red sites: blue from (y + 1, width - 1)
};

constexpr BorderQuirk edge1_quirk(Pattern p) {
    return p == Pattern::BGGR ? BorderQuirk::kTopBlueRedFromLowerRight : BorderQuirk::kNone;
}

constexpr BorderQuirk edge2_quirk(Pattern p) {
    switch (p) {
        case Pattern::RGGB:
            return BorderQuirk::kRightRedGreenFromRight;
        case Pattern::GRBG:
            return BorderQuirk::kRightBlueRedFromLowerRight;
        case Pattern::GBRG:
            return BorderQuirk::kRightRedBlueFromLowerRight;
        case Pattern::BGGR:
            return BorderQuirk::kNone;
    }
    return BorderQuirk::kNone;
}

// Writes border pixel (y, x) from its window to px.
template <Pattern P, class Sample>
inline void fill_from_window(const RawFrame<Sample>& raw, int y, int x, Sample* px) {
    const int wy = y == raw.height - 1 ? y - 1 : y;
    const int wx = x == 0 ? 0 : x - 1;
    const Colour own = site_colour(P, y, x);
    int value[3] = {0, 0, 0};
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            const int sy = wy + dy;
            const int sx = wx + dx;
            const Colour c = site_colour(P, sy, sx);
            if (c != kGreen) {
                value[c] = raw.at(sy, sx);
            } else if (sy == y) {
                value[kGreen] = raw.at(sy, sx);
            }
        }
    }
    value[own] = raw.at(y, x);
    px[0] = static_cast<Sample>(value[0]);
    px[1] = static_cast<Sample>(value[1]);
    px[2] = static_cast<Sample>(value[2]);
}

// Applies a fill's quirk to pixel (y, x) at px, already written from its
// window.
template <Pattern P, BorderQuirk Q, class Sample>
inline void apply_quirk(const RawFrame<Sample>& raw, int y, int x, Sample* px) {
    const Colour own = site_colour(P, y, x);
    if constexpr (Q == BorderQuirk::kTopBlueRedFromLowerRight) {
        // An odd width would put the source past the last column: keep the
        // window's value there.
        if (y == 0 && x >= 2 && own == kBlue && x + 1 < raw.width) {
            px[kRed] = static_cast<Sample>(raw.at(1, x + 1));
        }
    } else if constexpr (Q != BorderQuirk::kNone) {
        const int w = raw.width;
        if (x != w - 2 || y < 2 || y > raw.height - 3) {
            return;
        }
        if constexpr (Q == BorderQuirk::kRightRedGreenFromRight) {
            if (own == kRed) {
                px[kGreen] = static_cast<Sample>(raw.at(y, w - 1));
            }
        } else if constexpr (Q == BorderQuirk::kRightBlueRedFromLowerRight) {
            if (own == kBlue) {
                px[kRed] = static_cast<Sample>(raw.at(y + 1, w - 1));
            }
        } else if constexpr (Q == BorderQuirk::kRightRedBlueFromLowerRight) {
            if (own == kRed) {
                px[kBlue] = static_cast<Sample>(raw.at(y + 1, w - 1));
            }
        }
    }
}

// The border pixels of row y for the given thickness (1 or 2): the whole row
// in the first and last `thickness` rows, the first and last `thickness`
// columns in the rows between them.
template <Pattern P, BorderQuirk Q, int Thickness, class Sample, bool Flip>
void fill_border_row(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst, int y) {
    const int w = raw.width;
    const int h = raw.height;
    auto fill = [&](int x) {
        Sample* px = dst.pixel(y, x);
        fill_from_window<P>(raw, y, x, px);
        apply_quirk<P, Q>(raw, y, x, px);
    };
    if (y < Thickness || y >= h - Thickness) {
        for (int x = 0; x < w; ++x) {
            fill(x);
        }
        return;
    }
    for (int x = 0; x < Thickness && x < w; ++x) {
        fill(x);
    }
    for (int x = w - Thickness > Thickness ? w - Thickness : Thickness; x < w; ++x) {
        fill(x);
    }
}

// Fills the border of the given thickness, row by row.
template <Pattern P, BorderQuirk Q, int Thickness, class Sample, bool Flip>
void fill_border(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst) {
    if (!frame_usable(raw.width, raw.height)) {
        return;
    }
    for (int y = 0; y < raw.height; ++y) {
        fill_border_row<P, Q, Thickness>(raw, dst, y);
    }
}

template <Pattern P, class Sample, bool Flip>
inline void fill_border1(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst) {
    fill_border<P, edge1_quirk(P), 1>(raw, dst);
}

// Writes pixel (y, x) of the 1-pixel fill to px (x on the border of row y).
template <Pattern P, class Sample>
inline void fill_border1_pixel(const RawFrame<Sample>& raw, int y, int x, Sample* px) {
    fill_from_window<P>(raw, y, x, px);
    apply_quirk<P, edge1_quirk(P)>(raw, y, x, px);
}

template <Pattern P, class Sample, bool Flip>
inline void fill_border1_row(const RawFrame<Sample>& raw, const DstFrame<Sample, Flip>& dst,
                             int y) {
    fill_border_row<P, edge1_quirk(P), 1>(raw, dst, y);
}

template <Pattern P, bool Flip>
inline void fill_border2(const RawFrame<std::uint8_t>& raw,
                         const DstFrame<std::uint8_t, Flip>& dst) {
    fill_border<P, edge2_quirk(P), 2>(raw, dst);
}

}  // namespace mtzdq
