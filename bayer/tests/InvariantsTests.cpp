// Properties every export keeps, checked over the whole export table on
// frames of several sizes (including sizes that cross the 16-pixel vector
// blocks and odd sizes) in buffers of exactly the documented length, so the
// sanitizer build catches any access outside them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_catalogue.h"

namespace bayer_test {
namespace {

struct Size {
    int width;
    int height;
};

const Size kSizes[] = {{4, 4}, {6, 6}, {8, 6}, {34, 6}, {40, 10}, {52, 8}};

bool covered(const ColourExport& e, const ColourImage& out, int y, int x) {
    if (!is_border_fill(e)) {
        return true;
    }
    const int b = border_of(e);
    return y < b || y >= out.height - b || x < b || x >= out.width - b;
}

TEST(Invariants, ConstantFrameStaysConstant) {
    for (const auto& e : colour_exports()) {
        if (e.family == Family::kLaplacian2) {
            continue;  // its unreached interior keeps the pre-fill (own fixture)
        }
        const std::vector<unsigned> values =
            e.wide ? std::vector<unsigned>{0, 37, 4095, 65535} : std::vector<unsigned>{0, 37, 255};
        for (const Size s : kSizes) {
            if (border_of(e) == 2 && (s.width < 6 || s.height < 6)) {
                continue;
            }
            for (const unsigned v : values) {
                RawImage raw(s.width, s.height, e.wide);
                raw.fill(v);
                ColourImage out(s.width, s.height, 24, e.wide);
                ASSERT_EQ(run(e, raw, out), 0);
                const unsigned sentinel = e.wide ? 0xA5A5 : 0xA5;
                for (int y = 0; y < s.height; ++y) {
                    for (int x = 0; x < s.width; ++x) {
                        const unsigned want = covered(e, out, y, x) ? v : sentinel;
                        for (int c = 0; c < 3; ++c) {
                            ASSERT_EQ(out.at_row(y, x, c), want)
                                << e.name << " " << s.width << "x" << s.height << " v=" << v
                                << " at " << y << "," << x;
                        }
                    }
                }
            }
        }
    }
    for (const auto& e : grey_exports()) {
        for (const unsigned v : {0u, 99u, 255u}) {
            RawImage raw(10, 6, e.wide);
            raw.fill(v);
            std::vector<unsigned char> out(10 * 6 * (e.wide ? 2 : 1), 0xA5);
            e.fn(raw.data(), 10, 6, out.data());
            for (std::size_t i = 0; i < out.size(); ++i) {
                ASSERT_EQ(out[i], e.wide && i % 2 == 1 ? 0 : v) << e.name;
            }
        }
    }
}

TEST(Invariants, FastBilinearIsBilinear) {
    for (const auto& e : colour_exports()) {
        if (e.family != Family::kFastBilinear) {
            continue;
        }
        const std::string twin =
            std::string("ZDQCFA_Bilinear_") + e.pattern + (e.flip ? "_Flip" : "");
        for (const int bits : {24, 32}) {
            RawImage raw(40, 10, false);
            raw.randomize(17, 255);
            ColourImage fast(40, 10, bits, false);
            ColourImage plain(40, 10, bits, false);
            EXPECT_EQ(run(e, raw, fast), 0);
            run(colour_export(twin), raw, plain);
            EXPECT_EQ(fast.bytes, plain.bytes) << e.name << " " << bits;
        }
    }
}

TEST(Invariants, EdgeSensing1RggbIsEdgeSensing2) {
    for (const bool flip : {false, true}) {
        for (const int bits : {24, 32}) {
            RawImage raw(52, 8, false);
            raw.randomize(23, 255);
            ColourImage one(52, 8, bits, false);
            ColourImage two(52, 8, bits, false);
            run(colour_export(flip ? "ZDQCFA_EdgeSensing1_RGGB_Flip" : "ZDQCFA_EdgeSensing1_RGGB"),
                raw, one);
            run(colour_export(flip ? "ZDQCFA_EdgeSensing2_RGGB_Flip" : "ZDQCFA_EdgeSensing2_RGGB"),
                raw, two);
            EXPECT_EQ(one.bytes, two.bytes);
        }
    }
}

TEST(Invariants, TwentyFourAndThirtyTwoBitsAgreeOnThreeChannels) {
    for (const auto& e : colour_exports()) {
        RawImage raw(40, 10, e.wide);
        raw.randomize(29, e.wide ? 65535 : 255);
        ColourImage out24(40, 10, 24, e.wide);
        ColourImage out32(40, 10, 32, e.wide);
        run(e, raw, out24);
        run(e, raw, out32);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 40; ++x) {
                for (int c = 0; c < 3; ++c) {
                    ASSERT_EQ(out24.at_row(y, x, c), out32.at_row(y, x, c))
                        << e.name << " " << y << "," << x;
                }
            }
        }
    }
}

TEST(Invariants, RedOnlyMosaicBecomesRed) {
    // Red sites 200 and every other site `green` (green sites) or 0 (blue
    // sites): every algorithm gives red 200, green `green` at most and blue 0
    // everywhere, in all four patterns. With green 0 the smooth-hue ratios are
    // 0 / 0 or infinity times 0: its interior keeps red only at red sites.
    for (const unsigned green : {0u, 1u}) {
        for (const auto& e : colour_exports()) {
            if (is_border_fill(e) || e.family == Family::kLaplacian2) {
                continue;
            }
            RawImage raw(40, 10, e.wide);
            for (int y = 0; y < 10; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const char c = site(e.pattern, y, x);
                    raw.set(y, x, c == 'R' ? 200 : c == 'G' ? green : 0);
                }
            }
            ColourImage out(40, 10, 24, e.wide);
            run(e, raw, out);
            const bool dark_ratios = green == 0 && e.family == Family::kSmoothHue;
            for (int y = 0; y < 10; ++y) {
                for (int x = 0; x < 40; ++x) {
                    const bool border = y == 0 || y == 9 || x == 0 || x == 39;
                    const unsigned red =
                        dark_ratios && !border && site(e.pattern, y, x) != 'R' ? 0 : 200;
                    ASSERT_EQ(out.at(y, x, kRed, e.flip), red) << e.name << " " << y << "," << x;
                    ASSERT_EQ(out.at(y, x, kBlue, e.flip), 0u) << e.name << " " << y << "," << x;
                    ASSERT_LE(out.at(y, x, kGreen, e.flip), green)
                        << e.name << " " << y << "," << x;
                }
            }
        }
    }
}

TEST(Invariants, FlippedTwinWritesTheSameRowsBottomUp) {
    // Pairs whose plain and flipped forms share a body variant. The 8-bit
    // nearest-neighbour BGGR pair uses different windows, and the grey BGGR,
    // GRBG and GBRG pairs different column copies, so they are left out.
    for (const auto& e : colour_exports()) {
        if (e.flip || e.family == Family::kLaplacian2 ||
            (e.family == Family::kNearest && !e.wide && std::string(e.pattern) == "BGGR")) {
            continue;
        }
        std::string twin = e.name;
        const std::size_t at = twin.find("_16Bits");
        twin.insert(at == std::string::npos ? twin.size() : at, "_Flip");
        RawImage raw(34, 8, e.wide);
        raw.randomize(31, e.wide ? 65535 : 255);
        ColourImage plain(34, 8, 24, e.wide);
        ColourImage flipped(34, 8, 24, e.wide);
        run(e, raw, plain);
        run(colour_export(twin), raw, flipped);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 34; ++x) {
                for (int c = 0; c < 3; ++c) {
                    ASSERT_EQ(plain.at_row(y, x, c), flipped.at_row(7 - y, x, c))
                        << e.name << " " << y << "," << x;
                }
            }
        }
    }
    for (const auto& e : grey_exports()) {
        if (e.flip || (!e.wide && std::string(e.pattern) != "RGGB")) {
            continue;
        }
        const std::string name = e.name;
        const std::size_t at = name.find("_Gray") + 5;
        const std::string twin = name.substr(0, at) + "_Flip" + name.substr(at);
        GreyFn flip_fn = nullptr;
        for (const auto& g : grey_exports()) {
            if (twin == g.name) {
                flip_fn = g.fn;
            }
        }
        ASSERT_NE(flip_fn, nullptr) << twin;
        const std::size_t sample = e.wide ? 2 : 1;
        RawImage raw(12, 6, e.wide);
        raw.randomize(37, e.wide ? 65535 : 255);
        std::vector<unsigned char> plain(12 * 6 * sample);
        std::vector<unsigned char> flipped(12 * 6 * sample);
        e.fn(raw.data(), 12, 6, plain.data());
        flip_fn(raw.data(), 12, 6, flipped.data());
        const std::size_t row = 12 * sample;
        for (int y = 0; y < 6; ++y) {
            EXPECT_TRUE(std::equal(plain.begin() + y * row, plain.begin() + (y + 1) * row,
                                   flipped.begin() + (5 - y) * row))
                << e.name << " row " << y;
        }
    }
}

TEST(Invariants, ExactlySizedBuffersAndRepeatableResults) {
    // Odd sizes are outside the documented range; they must still stay
    // inside the buffers.
    const Size sizes[] = {{2, 2}, {4, 4}, {6, 6}, {5, 7}, {7, 5}, {34, 6}, {50, 9}, {3, 3}};
    for (const Size s : sizes) {
        for (const auto& e : colour_exports()) {
            for (const int bits : {24, 32}) {
                RawImage raw(s.width, s.height, e.wide);
                raw.randomize(41, e.wide ? 65535 : 255);
                ColourImage first(s.width, s.height, bits, e.wide);
                ColourImage second(s.width, s.height, bits, e.wide);
                EXPECT_EQ(run(e, raw, first), 0) << e.name;
                EXPECT_EQ(run(e, raw, second), 0) << e.name;
                EXPECT_EQ(first.bytes, second.bytes)
                    << e.name << " " << s.width << "x" << s.height << " " << bits;
            }
        }
        for (const auto& e : grey_exports()) {
            RawImage raw(s.width, s.height, e.wide);
            raw.randomize(43, e.wide ? 65535 : 255);
            std::vector<unsigned char> out(
                static_cast<std::size_t>(s.width) * s.height * (e.wide ? 2 : 1), 0xA5);
            EXPECT_EQ(e.fn(raw.data(), s.width, s.height, out.data()), 0) << e.name;
        }
    }
}

TEST(Invariants, TwentyFourBitOutputDoesNotDependOnWhatTheBufferHeld) {
    // Every byte of a 24-bit output is written (the border fills alone
    // leave the interior to their callers): two destinations holding
    // different bytes before the call come out the same. Sizes reach past
    // the frames whose passes leave parts of the interior to a pre-fill.
    const Size sizes[] = {{2, 2}, {5, 5}, {7, 7}, {8, 9}, {21, 9}, {40, 12}, {70, 8}};
    for (const Size s : sizes) {
        for (const auto& e : colour_exports()) {
            if (e.family == Family::kEdge1 || e.family == Family::kEdge2) {
                continue;
            }
            RawImage raw(s.width, s.height, e.wide);
            raw.randomize(47, e.wide ? 65535 : 255);
            ColourImage low(s.width, s.height, 24, e.wide, 0x5A);
            ColourImage high(s.width, s.height, 24, e.wide, 0xA5);
            ASSERT_EQ(run(e, raw, low), 0) << e.name;
            ASSERT_EQ(run(e, raw, high), 0) << e.name;
            EXPECT_EQ(low.bytes, high.bytes) << e.name << " " << s.width << "x" << s.height;
        }
    }
}

}  // namespace
}  // namespace bayer_test
