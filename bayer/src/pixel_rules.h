// Per-pixel rules of the one-pass 3x3 algorithms (nearest neighbour,
// bilinear, edge sensing). A rule maps the raw neighbourhood of a pixel whose
// own site colour is `Own`, in a row whose red or blue sites are `Chroma`, to
// its blue, green and red values. Written once for a single pixel (int) and
// for eight pixels at a time (16-bit lanes); see lanes.h.
#pragma once

#include "cfa_layout.h"
#include "lanes.h"

namespace mtzdq {

// Green sites of every family below: own green, the chroma of the row from the
// left and right neighbours, the other chroma from the up and down neighbours.
template <Colour Chroma, class Src>
[[gnu::always_inline]] inline auto green_site_bilinear(const Src& s) {
    Rgb<decltype(s.at(0, 0))> v;
    v[kGreen] = s.at(0, 0);
    v[Chroma] = (s.at(0, -1) + s.at(0, 1)) >> 1;
    v[opposite_chroma(Chroma)] = (s.at(-1, 0) + s.at(1, 0)) >> 1;
    return v;
}

template <class Src>
[[gnu::always_inline]] inline auto cross_mean(const Src& s) {
    return (s.at(-1, 0) + s.at(1, 0) + s.at(0, -1) + s.at(0, 1)) >> 2;
}

template <class Src>
[[gnu::always_inline]] inline auto diagonal_mean(const Src& s) {
    return (s.at(-1, -1) + s.at(-1, 1) + s.at(1, -1) + s.at(1, 1)) >> 2;
}

struct BilinearRule {
    template <Colour Own, Colour Chroma, class Src>
    [[gnu::always_inline]] static auto pixel(const Src& s) {
        if constexpr (Own == kGreen) {
            return green_site_bilinear<Chroma>(s);
        } else {
            Rgb<decltype(s.at(0, 0))> v;
            v[Own] = s.at(0, 0);
            v[kGreen] = cross_mean(s);
            v[opposite_chroma(Own)] = diagonal_mean(s);
            return v;
        }
    }
};

// Edge sensing: green at red and blue sites along the direction of the smaller
// gradient (ties: the mean of all four); the other chroma either the mean of
// the four diagonals or, with DiagonalChoice, along the flatter diagonal.
template <bool DiagonalChoice>
struct EdgeSensingRule {
    template <Colour Own, Colour Chroma, class Src>
    [[gnu::always_inline]] static auto pixel(const Src& s) {
        if constexpr (Own == kGreen) {
            return green_site_bilinear<Chroma>(s);
        } else {
            Rgb<decltype(s.at(0, 0))> v;
            const auto l = s.at(0, -1);
            const auto r = s.at(0, 1);
            const auto u = s.at(-1, 0);
            const auto d = s.at(1, 0);
            const auto dh = abs_diff(l, r);
            const auto dv = abs_diff(u, d);
            v[Own] = s.at(0, 0);
            v[kGreen] = dh < dv ? (l + r) >> 1 : (dv < dh ? (u + d) >> 1 : (u + d + l + r) >> 2);
            if constexpr (DiagonalChoice) {
                const auto ul = s.at(-1, -1);
                const auto dr = s.at(1, 1);
                const auto ur = s.at(-1, 1);
                const auto dl = s.at(1, -1);
                const auto d1 = abs_diff(ul, dr);
                const auto d2 = abs_diff(ur, dl);
                v[opposite_chroma(Own)] =
                    d1 < d2 ? (ul + dr) >> 1
                            : (d2 < d1 ? (ur + dl) >> 1 : (ul + ur + dl + dr) >> 2);
            } else {
                v[opposite_chroma(Own)] = diagonal_mean(s);
            }
            return v;
        }
    }
};

// Nearest neighbour: every value comes from one 2x2 window of rows y, y + 1.
enum class NearestVariant {
    kAveragedGreen,  // columns x, x + 1; green the mean of the window's two greens
    kRightGreen,     // columns x, x + 1; green from the window's green in row y
    kLeftGreen,      // columns x - 1, x; green from the window's green in row y
};

template <NearestVariant Variant>
struct NearestRule {
    template <Colour Own, Colour Chroma, class Src>
    [[gnu::always_inline]] static auto pixel(const Src& s) {
        Rgb<decltype(s.at(0, 0))> v;
        constexpr Colour other = opposite_chroma(Chroma);
        if constexpr (Variant == NearestVariant::kLeftGreen) {
            if constexpr (Own == kGreen) {
                v[kGreen] = s.at(0, 0);
                v[Chroma] = s.at(0, -1);
                v[other] = s.at(1, 0);
            } else {
                v[Own] = s.at(0, 0);
                v[kGreen] = s.at(0, -1);
                v[other] = s.at(1, -1);
            }
        } else {
            if constexpr (Own == kGreen) {
                v[Chroma] = s.at(0, 1);
                v[other] = s.at(1, 0);
                if constexpr (Variant == NearestVariant::kAveragedGreen) {
                    v[kGreen] = (s.at(0, 0) + s.at(1, 1)) >> 1;
                } else {
                    v[kGreen] = s.at(0, 0);
                }
            } else {
                v[Own] = s.at(0, 0);
                v[other] = s.at(1, 1);
                if constexpr (Variant == NearestVariant::kAveragedGreen) {
                    v[kGreen] = (s.at(0, 1) + s.at(1, 0)) >> 1;
                } else {
                    v[kGreen] = s.at(0, 1);
                }
            }
        }
        return v;
    }
};

}  // namespace mtzdq
