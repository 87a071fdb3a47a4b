// The two-pass algorithms: smooth hue (single-precision ratios over a green
// plane) and the gradient-corrected Laplacian (5x5). Both write a green plane
// into the destination first and read it back, at the destination's pixel
// size and row order, in the second pass.
#pragma once

#include <cmath>
#include <cstdlib>

#include "cfa_layout.h"
#include "lanes.h"

namespace mtzdq {

// Rows of the raw frame and of the destination around image row y (two
// rows up and down at most), with the site colours of the row.
template <Pattern P, bool Flip>
struct RowWindow {
    const std::uint8_t* raw_centre;
    std::ptrdiff_t raw_stride;
    std::uint8_t* out[3];  // destination rows y - 1, y, y + 1
    int channels;
    Colour even_site;
    Colour odd_site;

    RowWindow(const RawFrame<std::uint8_t>& raw, const DstFrame<std::uint8_t, Flip>& dst, int y)
        : raw_centre(raw.row(y)),
          raw_stride(raw.width),
          out{dst.row(y - 1), dst.row(y), dst.row(y + 1)},
          channels(dst.channels),
          even_site(site_colour(P, y, 0)),
          odd_site(site_colour(P, y, 1)) {}

    Colour site(int x) const { return (x & 1) ? odd_site : even_site; }
    int raw(int dy, int x) const { return raw_centre[dy * raw_stride + x]; }
    std::uint8_t* pixel(int dy, int x) const {
        return out[dy + 1] + static_cast<std::ptrdiff_t>(x) * channels;
    }
    int green(int dy, int x) const { return pixel(dy, x)[kGreen]; }
};

// ---- Smooth hue ---------------------------------------------------------

// The arithmetic of smooth hue, written once for one value (int, float) and
// for lanes of values (GCC vector extensions): green at red and blue sites,
// the quotient of a raw sample by its green, and the two ratio estimates.
template <class V>
[[gnu::always_inline]] inline V smooth_hue_green(V left, V right, V up, V down) {
    return (right + left + down + up) >> 2;
}

template <class F>
[[gnu::always_inline]] inline F smooth_hue_quotient(F raw, F green) {
    return raw / green;
}

// At a green site: the chroma from the quotients of two neighbours on one
// line.
template <class F>
[[gnu::always_inline]] inline F smooth_hue_pair(F first, F second, F green) {
    const F half = green * 0.5f;
    return (first + second) * half;
}

// At a red or blue site: the other chroma from the quotients of the four
// diagonal neighbours, added in the order upper right, upper left, lower
// left, lower right.
template <class F>
[[gnu::always_inline]] inline F smooth_hue_diagonals(F upper_right, F upper_left, F lower_left,
                                                     F lower_right, F green) {
    const F quarter = green * 0.25f;
    F sum = upper_right;
    sum = sum + upper_left;
    sum = sum + lower_left;
    sum = sum + lower_right;
    return sum * quarter;
}

// Stores a ratio result: above 255 gives 255, not-a-number gives 0, anything
// else is truncated toward zero and its low byte kept.
inline std::uint8_t store_ratio(float v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v > 255.0f) {
        return 255;
    }
    return static_cast<std::uint8_t>(static_cast<int>(v) & 0xFF);
}

template <Pattern P, bool Flip>
void smooth_hue_green_pass(const RawFrame<std::uint8_t>& raw,
                           const DstFrame<std::uint8_t, Flip>& dst) {
    for (int y = 1; y <= raw.height - 2; ++y) {
        const std::uint8_t* c = raw.row(y);
        const std::uint8_t* up = raw.row(y - 1);
        const std::uint8_t* down = raw.row(y + 1);
        std::uint8_t* out = dst.row(y);
        const int channels = dst.channels;
        const Colour even_site = site_colour(P, y, 0);
        const Colour odd_site = site_colour(P, y, 1);
        for (int x = 1; x <= raw.width - 2; ++x) {
            const Colour own = (x & 1) ? odd_site : even_site;
            out[x * channels + kGreen] = own == kGreen
                                             ? c[x]
                                             : static_cast<std::uint8_t>(smooth_hue_green<int>(
                                                   c[x - 1], c[x + 1], up[x], down[x]));
        }
    }
}

template <Pattern P, bool Flip>
void smooth_hue_ratio_pass(const RawFrame<std::uint8_t>& raw,
                           const DstFrame<std::uint8_t, Flip>& dst) {
    for (int y = 1; y <= raw.height - 2; ++y) {
        const RowWindow<P, Flip> win(raw, dst, y);
        const Colour chroma = row_chroma(P, y);
        auto quotient = [&](int dy, int x) {
            return smooth_hue_quotient(static_cast<float>(win.raw(dy, x)),
                                       static_cast<float>(win.green(dy, x)));
        };
        for (int x = 1; x <= raw.width - 2; ++x) {
            const Colour own = win.site(x);
            std::uint8_t* px = win.pixel(0, x);
            const float g0 = static_cast<float>(px[kGreen]);
            if (own == kGreen) {
                px[chroma] =
                    store_ratio(smooth_hue_pair(quotient(0, x - 1), quotient(0, x + 1), g0));
                px[opposite_chroma(chroma)] =
                    store_ratio(smooth_hue_pair(quotient(-1, x), quotient(1, x), g0));
            } else {
                px[own] = static_cast<std::uint8_t>(win.raw(0, x));
                px[opposite_chroma(own)] =
                    store_ratio(smooth_hue_diagonals(quotient(-1, x + 1), quotient(-1, x - 1),
                                                     quotient(1, x - 1), quotient(1, x + 1), g0));
            }
        }
    }
}

// ---- Laplacian ----------------------------------------------------------

// The arithmetic of the Laplacian, written once for one value (int) and for
// lanes of 16-bit values (GCC vector extensions).

// The mask of a condition: all ones when it holds.
inline int as_mask(bool condition) {
    return -static_cast<int>(condition);
}
template <class V>
[[gnu::always_inline]] inline V as_mask(V mask) {
    return mask;
}

// a where `first`, b where `second`, c where neither (never both), by masks:
// the choice follows the image's gradients and would defeat branch
// prediction on textured frames.
template <class V, class M>
[[gnu::always_inline]] inline V pick3(M first, M second, V a, V b, V c) {
    const auto m1 = as_mask(first);
    const auto m2 = as_mask(second);
    return (a & m1) | (b & m2) | (c & ~(m1 | m2));
}

template <class V>
[[gnu::always_inline]] inline V abs_value(V v) {
    return v < 0 ? -v : v;
}

// Division by 2, 4 or 8 rounding toward zero, as C's integer division.
template <int D>
inline int div_toward_zero(int v) {
    return v / D;
}
template <int D, class V>
[[gnu::always_inline]] inline V div_toward_zero(V v) {
    constexpr int shift = D == 2 ? 1 : D == 4 ? 2 : 3;
    return (v + ((v >> 15) & (D - 1))) >> shift;
}

inline std::uint8_t clamp_byte(int v) {
    return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Gradient-corrected green at a red or blue site from its raw 5x5 cross
// (before clamping to a byte).
template <class V>
[[gnu::always_inline]] inline V laplacian_green(V c, V left, V right, V up, V down, V left2,
                                                V right2, V up2, V down2) {
    const V oh = 2 * c - left2 - right2;
    const V ov = 2 * c - up2 - down2;
    const V gh = abs_diff(right, left) + abs_value(oh);
    const V gv = abs_diff(up, down) + abs_value(ov);
    const V along_h = ((left + right) >> 1) + div_toward_zero<4>(oh);
    const V along_v = ((up + down) >> 1) + div_toward_zero<4>(ov);
    const V mean = ((left + right + up + down) >> 2) + div_toward_zero<8>(oh + ov);
    return pick3(gh < gv, gv < gh, along_h, along_v, mean);
}

// The other chroma at a red or blue site from the greens and raw samples of
// its diagonals (before clamping to a byte).
template <class V>
[[gnu::always_inline]] inline V laplacian_diagonal(V g0, V g_lower_right, V g_upper_left,
                                                   V g_lower_left, V g_upper_right, V ul, V dr,
                                                   V ur, V dl) {
    const V e1 = 2 * g0 - g_lower_right - g_upper_left;
    const V e2 = 2 * g0 - g_lower_left - g_upper_right;
    const V a1 = abs_diff(ul, dr) + abs_value(e1);
    const V a2 = abs_diff(ur, dl) + abs_value(e2);
    const V along_1 = div_toward_zero<2>(ul + dr + e1);
    const V along_2 = div_toward_zero<2>(ur + dl + e2);
    const V mean = div_toward_zero<4>(e1 + e2 + ur + dl + ul + dr);
    return pick3(a1 < a2, a2 < a1, along_1, along_2, mean);
}

// Green pass over rows and columns `first` to size - 3: green at green sites,
// gradient-corrected green and the own colour at red and blue sites.
template <Pattern P, bool Flip>
void laplacian_green_pass(const RawFrame<std::uint8_t>& raw,
                          const DstFrame<std::uint8_t, Flip>& dst, int first) {
    for (int y = first; y <= raw.height - 3; ++y) {
        const RowWindow<P, Flip> win(raw, dst, y);
        for (int x = first; x <= raw.width - 3; ++x) {
            const Colour own = win.site(x);
            std::uint8_t* px = win.pixel(0, x);
            const int c = win.raw(0, x);
            if (own == kGreen) {
                px[kGreen] = static_cast<std::uint8_t>(c);
                continue;
            }
            const int g = laplacian_green(c, win.raw(0, x - 1), win.raw(0, x + 1), win.raw(-1, x),
                                          win.raw(1, x), win.raw(0, x - 2), win.raw(0, x + 2),
                                          win.raw(-2, x), win.raw(2, x));
            px[own] = static_cast<std::uint8_t>(c);
            px[kGreen] = clamp_byte(g);
        }
    }
}

// Colour pass over rows and columns 2 to size - 3, reading the green plane.
template <Pattern P, bool Flip>
void laplacian_colour_pass(const RawFrame<std::uint8_t>& raw,
                           const DstFrame<std::uint8_t, Flip>& dst) {
    for (int y = 2; y <= raw.height - 3; ++y) {
        const RowWindow<P, Flip> win(raw, dst, y);
        const Colour chroma = row_chroma(P, y);
        for (int x = 2; x <= raw.width - 3; ++x) {
            const Colour own = win.site(x);
            std::uint8_t* px = win.pixel(0, x);
            if (own == kGreen) {
                px[chroma] =
                    static_cast<std::uint8_t>((win.raw(0, x - 1) + win.raw(0, x + 1)) >> 1);
                px[opposite_chroma(chroma)] =
                    static_cast<std::uint8_t>((win.raw(-1, x) + win.raw(1, x)) >> 1);
                continue;
            }
            const int v = laplacian_diagonal(
                static_cast<int>(px[kGreen]), win.green(1, x + 1), win.green(-1, x - 1),
                win.green(1, x - 1), win.green(-1, x + 1), win.raw(-1, x - 1), win.raw(1, x + 1),
                win.raw(-1, x + 1), win.raw(1, x - 1));
            px[opposite_chroma(own)] = clamp_byte(v);
        }
    }
}

}  // namespace mtzdq
