// Worked examples and edge cases of the demosaicing functions, as small
// hand-computed frames.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "test_catalogue.h"

// Debugger output of the library lands here (see debugger_output.h).
namespace {
std::vector<std::string>* g_trace = nullptr;
}
extern "C" __attribute__((visibility("default"))) void MTZDQ_DebuggerOutput(const char* text) {
    if (g_trace != nullptr) {
        g_trace->push_back(text);
    }
}

namespace bayer_test {
namespace {

using Bgr = std::array<unsigned, 3>;

Bgr pixel(const ColourImage& out, int y, int x, bool flip = false) {
    return {out.at(y, x, kBlue, flip), out.at(y, x, kGreen, flip), out.at(y, x, kRed, flip)};
}

// Frame whose sample at (y, x) is 16 * y + x: every value names its position.
RawImage positional(int w, int h) {
    RawImage raw(w, h, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            raw.set(y, x, 16 * y + x);
        }
    }
    return raw;
}

ColourImage run24(const std::string& name, RawImage& raw) {
    ColourImage out(raw.width, raw.height, 24, raw.wide);
    EXPECT_EQ(run(colour_export(name), raw, out), 0) << name;
    return out;
}

// ---- 1-pixel border fill ----

struct BorderCase {
    int y;
    int x;
    Bgr expected;
};

TEST(BorderFill1, Rggb4x4FollowsTheWindowTable) {
    RawImage raw = positional(4, 4);
    // Hand-computed from the window rules for RGGB, row y holds 16y .. 16y+3.
    const BorderCase cases[] = {
        {0, 0, {17, 1, 0}},   {0, 1, {17, 1, 0}},   {0, 2, {17, 1, 2}},   {0, 3, {19, 3, 2}},
        {1, 0, {17, 16, 32}}, {2, 0, {49, 33, 32}}, {1, 3, {19, 18, 34}}, {2, 3, {51, 35, 34}},
        {3, 0, {49, 48, 32}}, {3, 1, {49, 48, 32}}, {3, 2, {49, 50, 34}}, {3, 3, {51, 50, 34}},
    };
    for (const bool wide : {false, true}) {
        for (const bool flip : {false, true}) {
            RawImage r(4, 4, wide);
            for (int y = 0; y < 4; ++y) {
                for (int x = 0; x < 4; ++x) {
                    r.set(y, x, raw.at(y, x) * (wide ? 257 : 1));
                }
            }
            const std::string name = std::string("ZDQCFA_NearestNeighbor_Edge1_RGGB") +
                                     (flip ? "_Flip" : "") + (wide ? "_16Bits" : "");
            ColourImage out(4, 4, 24, wide);
            ASSERT_EQ(run(colour_export(name), r, out), 0);
            for (const auto& c : cases) {
                for (int ch = 0; ch < 3; ++ch) {
                    EXPECT_EQ(out.at(c.y, c.x, ch, flip), c.expected[ch] * (wide ? 257 : 1))
                        << name << " (" << c.y << "," << c.x << ") channel " << ch;
                }
            }
            const unsigned sentinel = wide ? 0xA5A5 : 0xA5;
            for (int y = 1; y <= 2; ++y) {
                for (int x = 1; x <= 2; ++x) {
                    EXPECT_EQ(pixel(out, y, x, flip), (Bgr{sentinel, sentinel, sentinel})) << name;
                }
            }
        }
    }
}

TEST(BorderFill1, BggrTopRowTakesRedFromTheLowerRightDiagonal) {
    RawImage raw(4, 4, false);
    const unsigned rows[4][4] = {{5, 6, 7, 8}, {0, 100, 0, 200}, {9, 10, 11, 12}, {13, 14, 15, 16}};
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            raw.set(y, x, rows[y][x]);
        }
    }
    const ColourImage bggr = run24("ZDQCFA_NearestNeighbor_Edge1_BGGR", raw);
    EXPECT_EQ(bggr.at(0, 2, kRed, false), 200u);
    EXPECT_EQ(bggr.at(0, 2, kGreen, false), 6u);  // green still from the left
    EXPECT_EQ(bggr.at(0, 0, kRed, false), 100u);  // column 0 keeps its window
    const ColourImage rggb = run24("ZDQCFA_NearestNeighbor_Edge1_RGGB", raw);
    EXPECT_EQ(rggb.at(0, 2, kBlue, false), 100u);
}

TEST(BorderFill1, FourthByteOfThirtyTwoBitOutputIsUntouched) {
    RawImage raw = positional(6, 4);
    for (const char* name :
         {"ZDQCFA_NearestNeighbor_Edge1_GRBG", "ZDQCFA_NearestNeighbor_Edge2_GBRG",
          "ZDQCFA_NearestNeighbor_Edge1_BGGR_Flip_16Bits"}) {
        const ColourExport& e = colour_export(name);
        RawImage r(6, 4, e.wide);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                r.set(y, x, raw.at(y, x));
            }
        }
        ColourImage out24(6, 4, 24, e.wide);
        ColourImage out32(6, 4, 32, e.wide);
        run(e, r, out24);
        run(e, r, out32);
        const unsigned sentinel = e.wide ? 0xA5A5 : 0xA5;
        for (int y = 0; y < 4; ++y) {
            // Rightmost column: channels 0 to 2 at their own pixel, fourth kept.
            for (int ch = 0; ch < 3; ++ch) {
                EXPECT_EQ(out32.at(y, 5, ch, e.flip), out24.at(y, 5, ch, e.flip)) << name;
            }
            EXPECT_EQ(out32.at(y, 5, 3, e.flip), sentinel) << name;
        }
    }
}

// ---- 2-pixel border fill ----

TEST(BorderFill2, ColumnBeforeTheLastTakesItsQuirkSources) {
    RawImage raw = positional(6, 6);
    struct Case {
        const char* name;
        int y;
        int x;
        Bgr expected;
    };
    // Rows 2 and 3, column 4. Window columns 3 and 4, rows y and y + 1.
    const Case cases[] = {
        // RGGB (2,4) red site: green from (2,5) instead of (2,3).
        {"ZDQCFA_NearestNeighbor_Edge2_RGGB", 2, 4, {16 * 3 + 3, 16 * 2 + 5, 16 * 2 + 4}},
        {"ZDQCFA_NearestNeighbor_Edge2_RGGB_Flip", 2, 4, {16 * 3 + 3, 16 * 2 + 5, 16 * 2 + 4}},
        // GRBG (3,4) blue site: red from (4,5) instead of (4,3).
        {"ZDQCFA_NearestNeighbor_Edge2_GRBG", 3, 4, {16 * 3 + 4, 16 * 3 + 3, 16 * 4 + 5}},
        // GBRG (3,4) red site: blue from (4,5) instead of (4,3).
        {"ZDQCFA_NearestNeighbor_Edge2_GBRG_Flip", 3, 4, {16 * 4 + 5, 16 * 3 + 3, 16 * 3 + 4}},
        // BGGR follows the window: (2,4) blue site, green (2,3), red (3,3).
        {"ZDQCFA_NearestNeighbor_Edge2_BGGR", 2, 4, {16 * 2 + 4, 16 * 2 + 3, 16 * 3 + 3}},
        // Outside the quirk rows the window holds: RGGB (0,4) green from (0,3).
        {"ZDQCFA_NearestNeighbor_Edge2_RGGB", 0, 4, {16 * 1 + 3, 3, 4}},
        // Column 1 uses columns 0 and 1, row 1 rows 1 and 2 (RGGB (1,1) blue).
        {"ZDQCFA_NearestNeighbor_Edge2_RGGB", 1, 1, {16 + 1, 16, 32}},
    };
    for (const auto& c : cases) {
        const ColourImage out = run24(c.name, raw);
        EXPECT_EQ(pixel(out, c.y, c.x, colour_export(c.name).flip), c.expected) << c.name;
    }
}

TEST(BorderFill2, WritesOnlyTheTwoPixelBorder) {
    RawImage raw = positional(8, 8);
    const ColourImage out = run24("ZDQCFA_NearestNeighbor_Edge2_BGGR", raw);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool border = y < 2 || y > 5 || x < 2 || x > 5;
            EXPECT_EQ(out.at(y, x, kGreen, false) == 0xA5, !border) << y << "," << x;
        }
    }
}

// ---- Nearest neighbour ----

TEST(NearestNeighbor, VariantsDifferInTheirGreen) {
    RawImage raw(6, 6, false);
    raw.fill(50);
    raw.set(1, 2, 10);  // green sites of RGGB
    raw.set(2, 3, 21);
    // Averaged green: (10 + 21) >> 1 at the green site (1, 2).
    EXPECT_EQ(run24("ZDQCFA_NearestNeighbor_RGGB", raw).at(1, 2, kGreen, false), 15u);
    EXPECT_EQ(run24("ZDQCFA_NearestNeighbor_RGGB_Flip", raw).at(1, 2, kGreen, true), 15u);
    // The same values on green sites of GBRG and BGGR keep their own sample.
    RawImage gbrg(6, 6, false);
    gbrg.fill(50);
    gbrg.set(2, 2, 10);
    gbrg.set(3, 3, 21);
    EXPECT_EQ(run24("ZDQCFA_NearestNeighbor_GBRG", gbrg).at(2, 2, kGreen, false), 10u);
    EXPECT_EQ(run24("ZDQCFA_NearestNeighbor_BGGR", raw).at(1, 2, kGreen, false), 10u);
}

TEST(NearestNeighbor, WindowSourcesPerVariant) {
    RawImage raw = positional(6, 6);
    struct Case {
        const char* name;
        int y;
        int x;
        Bgr expected;
    };
    const Case cases[] = {
        // Variant A, RGGB red site (2,2): blue (3,3), green ((2,3) + (3,2)) >> 1.
        {"ZDQCFA_NearestNeighbor_RGGB", 2, 2, {51, (35 + 50) >> 1, 34}},
        // Variant A, BGGR_Flip blue site (2,2): red (3,3).
        {"ZDQCFA_NearestNeighbor_BGGR_Flip", 2, 2, {34, (35 + 50) >> 1, 51}},
        // Variant B, GBRG red site (1,2): blue (2,3), green (1,3).
        {"ZDQCFA_NearestNeighbor_GBRG", 1, 2, {35, 19, 18}},
        // Variant C, BGGR blue site (2,2): red (3,1), green (2,1).
        {"ZDQCFA_NearestNeighbor_BGGR", 2, 2, {34, 33, 49}},
        // Variant C, BGGR green site (2,3): blue (2,2), red (3,3).
        {"ZDQCFA_NearestNeighbor_BGGR", 2, 3, {34, 35, 51}},
        // Variant A, GRBG green site (1,1) of a blue row: blue (1,2), red (2,1),
        // green ((1,1) + (2,2)) >> 1.
        {"ZDQCFA_NearestNeighbor_GRBG", 1, 1, {18, (17 + 34) >> 1, 33}},
    };
    for (const auto& c : cases) {
        const ColourImage out = run24(c.name, raw);
        EXPECT_EQ(pixel(out, c.y, c.x, colour_export(c.name).flip), c.expected) << c.name;
    }
}

TEST(NearestNeighbor, SixteenBitSamplesAreCopiedUnchanged) {
    for (const unsigned v : {4095u, 65535u}) {
        RawImage raw(8, 6, true);
        raw.randomize(7, 4095);
        raw.set(2, 2, v);  // RGGB red site
        ColourImage out(8, 6, 32, true);
        run(colour_export("ZDQCFA_NearestNeighbor_RGGB_16Bits"), raw, out);
        EXPECT_EQ(out.at(2, 2, kRed, false), v);
        // Variant C: the blue site (3,3) takes red from (4,2).
        raw.set(4, 2, v);
        run(colour_export("ZDQCFA_NearestNeighbor_RGGB_Flip_16Bits"), raw, out);
        EXPECT_EQ(out.at(3, 3, kRed, true), v);
    }
}

TEST(NearestNeighbor, DebuggerTraceOfTheGrbgPair) {
    std::vector<std::string> trace;
    g_trace = &trace;
    for (const auto& e : colour_exports()) {
        RawImage raw(6, 6, e.wide);
        raw.randomize(13, 255);
        ColourImage out(6, 6, 24, e.wide);
        trace.clear();
        run(e, raw, out);
        const std::string name = e.name;
        if (name == "ZDQCFA_NearestNeighbor_GRBG") {
            EXPECT_EQ(trace, std::vector<std::string>{"ZDQCFA_NearestNeighbor_GRBG"});
        } else if (name == "ZDQCFA_NearestNeighbor_GRBG_Flip") {
            EXPECT_EQ(trace,
                      std::vector<std::string>{"ZDQBayerFilter::ZDQCFA_NearestNeighbor_GRBG_Flip"});
        } else {
            EXPECT_TRUE(trace.empty()) << name;
        }
    }
    g_trace = nullptr;
}

// ---- Grey ----

TEST(Grey, LastColumnsAndRowAreCopies) {
    RawImage raw8 = positional(6, 4);
    for (const auto& e : grey_exports()) {
        RawImage raw(6, 4, e.wide);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 6; ++x) {
                raw.set(y, x, raw8.at(y, x) * (e.wide ? 1000 : 1));
            }
        }
        // One value per pixel; a two-column copy for the 8-bit RGGB body and
        // every flipped 8-bit export, a one-column copy otherwise.
        const std::size_t sample = e.wide ? 2 : 1;
        std::vector<unsigned char> out(6 * 4 * sample, 0xA5);
        ASSERT_EQ(e.fn(raw.data(), 6, 4, out.data()), 0);
        auto value = [&](int y, int x) {
            const int row = e.flip ? 3 - y : y;
            const std::size_t i = static_cast<std::size_t>(row) * 6 + x;
            if (!e.wide) {
                return static_cast<unsigned>(out[i]);
            }
            std::uint16_t v;
            std::memcpy(&v, &out[2 * i], 2);
            return static_cast<unsigned>(v);
        };
        const unsigned scale = e.wide ? 1000 : 1;
        const bool two_columns = !e.wide && (e.flip || std::string(e.pattern) == "RGGB");
        for (int y = 0; y < 3; ++y) {
            // (a + a+1 + a+16 + a+17) >> 2 with a = 16y + x, exactly a + 8 (scaled).
            for (int x = 0; x <= 3; ++x) {
                EXPECT_EQ(value(y, x), ((16 * y + x) * 4 + 34) * scale >> 2) << e.name;
            }
            const unsigned col4 = two_columns ? value(y, 3) : ((16 * y + 4) * 4 + 34) * scale >> 2;
            EXPECT_EQ(value(y, 4), col4) << e.name;
            EXPECT_EQ(value(y, 5), col4) << e.name;
        }
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(value(3, x), value(2, x)) << e.name;
        }
    }
}

TEST(Grey, SixteenBitSumsDoNotOverflow) {
    for (const auto& e : grey_exports()) {
        if (!e.wide) {
            continue;
        }
        RawImage raw(4, 4, true);
        raw.fill(65535);
        std::vector<unsigned char> out(4 * 4 * 2, 0);
        e.fn(raw.data(), 4, 4, out.data());
        for (std::size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i], 0xFF) << e.name;
        }
    }
}

// ---- Bilinear ----

TEST(Bilinear, WorkedExampleAndSumBeforeShift) {
    RawImage raw(4, 4, false);
    raw.fill(0);
    // Around the RGGB blue site (1,1).
    raw.set(0, 1, 10);
    raw.set(2, 1, 20);
    raw.set(1, 0, 30);
    raw.set(1, 2, 41);
    raw.set(0, 0, 1);
    raw.set(0, 2, 2);
    raw.set(2, 0, 3);
    raw.set(2, 2, 5);
    for (const char* name :
         {"ZDQCFA_Bilinear_RGGB", "ZDQCFA_Bilinear_RGGB_Flip", "ZDQCFA_FastBilinear_RGGB"}) {
        const ColourImage out = run24(name, raw);
        const bool flip = colour_export(name).flip;
        EXPECT_EQ(out.at(1, 1, kGreen, flip), 25u) << name;
        EXPECT_EQ(out.at(1, 1, kRed, flip), 2u) << name;
        EXPECT_EQ(out.at(1, 1, kBlue, flip), 0u) << name;
    }
    // Green site (2,1) of a red row: red = (1 + 2) >> 1 = 1, not 0 + 1.
    RawImage sum(4, 4, false);
    sum.fill(0);
    sum.set(2, 0, 1);
    sum.set(2, 2, 2);
    EXPECT_EQ(run24("ZDQCFA_Bilinear_RGGB", sum).at(2, 1, kRed, false), 1u);
}

TEST(FastBilinear, RefusesOtherBitCountsWithoutWriting) {
    RawImage raw = positional(8, 6);
    for (const auto& e : colour_exports()) {
        if (e.family != Family::kFastBilinear) {
            continue;
        }
        for (const unsigned short bits : {0, 8, 16, 48, 0xFFFF}) {
            std::vector<unsigned char> dst(8 * 6 * 4, 0x5A);
            EXPECT_EQ(e.fn(raw.data(), 8, 6, dst.data(), bits), -1) << e.name << " " << bits;
            EXPECT_EQ(dst, std::vector<unsigned char>(8 * 6 * 4, 0x5A)) << e.name;
        }
    }
}

TEST(FastBilinear, UsesOnlyTheLowSixteenBitsOfTheBitCount) {
    // The camera SDK passes the bit count in a wider register with stray upper
    // bits; the library reads the low 16 bits only.
    using WideFn = int (*)(unsigned char*, int, int, unsigned char*, unsigned);
    RawImage raw = positional(8, 6);
    ColourImage expected(8, 6, 24, false);
    run(colour_export("ZDQCFA_Bilinear_GRBG"), raw, expected);
    ColourImage out(8, 6, 24, false);
    const auto wide =
        reinterpret_cast<WideFn>(reinterpret_cast<void (*)()>(&ZDQCFA_FastBilinear_GRBG));
    EXPECT_EQ(wide(raw.data(), 8, 6, out.data(), 0x10018u), 0);
    EXPECT_EQ(out.bytes, expected.bytes);
}

// ---- Fourth byte of 32-bit output ----

TEST(FourthByte, PreFillRulesPerExport) {
    RawImage raw = positional(8, 8);
    struct Case {
        const char* name;
        unsigned expected;  // 0xA5: the caller's byte is kept
    };
    const Case cases[] = {
        {"ZDQCFA_Bilinear_RGGB", 0xFF},
        {"ZDQCFA_Bilinear_RGGB_Flip", 0xA5},
        {"ZDQCFA_FastBilinear_GBRG", 0xFF},
        {"ZDQCFA_FastBilinear_GBRG_Flip", 0xA5},
        {"ZDQCFA_SmoothHue_BGGR_Flip", 0x00},
        {"ZDQCFA_SmoothHue_BGGR", 0xA5},
        {"ZDQCFA_NearestNeighbor_RGGB", 0xFF},
        {"ZDQCFA_NearestNeighbor_RGGB_Flip", 0xA5},
        {"ZDQCFA_NearestNeighbor_GRBG", 0xA5},
        {"ZDQCFA_Laplacian_BGGR_Flip", 0xFF},
        {"ZDQCFA_Laplacian_GRBG", 0xFF},
        {"ZDQCFA_Laplacian2_RGGB", 0xFF},
        {"ZDQCFA_EdgeSensing1_RGGB", 0xA5},
        {"ZDQCFA_EdgeSensing2_RGGB_Flip", 0xA5},
        {"ZDQCFA_NearestNeighbor_RGGB_16Bits", 0xA5A5},
    };
    for (const auto& c : cases) {
        const ColourExport& e = colour_export(c.name);
        RawImage r(8, 8, e.wide);
        r.randomize(3, 255);
        ColourImage out(8, 8, 32, e.wide);
        run(e, r, out);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                ASSERT_EQ(out.at_row(y, x, 3), c.expected) << c.name << " " << y << "," << x;
            }
        }
    }
}

// ---- Smooth hue ----

// RGGB frame for smooth-hue cases around the green site (2,3) of a red row;
// its left and right neighbours (2,2) and (2,4) are red sites.
RawImage smooth_hue_frame(unsigned fill) {
    RawImage raw(8, 6, false);
    raw.fill(fill);
    return raw;
}

TEST(SmoothHue, WorkedExampleAtAGreenSite) {
    RawImage raw = smooth_hue_frame(60);
    raw.set(2, 3, 80);   // own green
    raw.set(2, 2, 100);  // left red, green (40 + 80 + 40 + 40) >> 2 = 50
    raw.set(2, 1, 40);
    raw.set(1, 2, 40);
    raw.set(3, 2, 40);
    raw.set(2, 4, 100);  // right red, green (80 + 107 + 107 + 106) >> 2 = 100
    raw.set(2, 5, 107);
    raw.set(1, 4, 107);
    raw.set(3, 4, 106);
    // (100 / 50 + 100 / 100) * (80 * 0.5) = 120.
    EXPECT_EQ(run24("ZDQCFA_SmoothHue_RGGB", raw).at(2, 3, kRed, false), 120u);
    EXPECT_EQ(run24("ZDQCFA_SmoothHue_RGGB_Flip", raw).at(2, 3, kRed, true), 120u);
}

TEST(SmoothHue, ZeroGreenAndSaturation) {
    struct Case {
        const char* what;
        unsigned own_green;
        unsigned left_red;
        unsigned left_greens;  // the left red site's other three green neighbours
        unsigned expected_red;
    };
    const Case cases[] = {
        // left green (0 + 0 + 0 + 3) >> 2 = 0: 30 / 0 is +inf, times 1.5 -> 255
        {"positive over zero green", 3, 30, 0, 255},
        // 0 / 0 is not a number -> 0
        {"zero over zero green", 3, 0, 0, 0},
        // every green positive, own green 0: finite * 0 -> 0
        {"own green zero", 0, 30, 40, 0},
        // 250 / 53 twice, times 100: far above 255 -> exactly 255
        {"ratio above 255", 200, 250, 4, 255},
    };
    for (const auto& c : cases) {
        RawImage raw = smooth_hue_frame(40);
        raw.set(2, 3, c.own_green);
        raw.set(2, 2, c.left_red);
        raw.set(2, 1, c.left_greens);
        raw.set(1, 2, c.left_greens);
        raw.set(3, 2, c.left_greens);
        if (std::string(c.what) == "ratio above 255") {
            raw.set(2, 4, 250);
            raw.set(2, 5, 4);
            raw.set(1, 4, 4);
            raw.set(3, 4, 4);
        }
        EXPECT_EQ(run24("ZDQCFA_SmoothHue_RGGB", raw).at(2, 3, kRed, false), c.expected_red)
            << c.what;
    }
}

// ---- Edge sensing ----

TEST(EdgeSensing, GreenFollowsTheSmallerGradient) {
    struct Case {
        unsigned left, right, up, down, green;
    };
    const Case cases[] = {
        {10, 10, 0, 200, 10},  // horizontal flatter
        {0, 100, 0, 100, 50},  // equal gradients: mean of four
        {0, 200, 30, 31, 30},  // vertical flatter
    };
    for (const auto& c : cases) {
        RawImage raw(6, 6, false);
        raw.fill(77);
        // RGGB red site (2,2).
        raw.set(2, 1, c.left);
        raw.set(2, 3, c.right);
        raw.set(1, 2, c.up);
        raw.set(3, 2, c.down);
        for (const char* name : {"ZDQCFA_EdgeSensing1_RGGB", "ZDQCFA_EdgeSensing2_RGGB_Flip",
                                 "ZDQCFA_EdgeSensing1_GBRG"}) {
            // For GBRG the same pixel is a green site; use (3,2), a red site.
            const bool gbrg = std::string(name).find("GBRG") != std::string::npos;
            RawImage r = raw;
            int y = 2;
            if (gbrg) {
                y = 3;
                r.set(3, 1, c.left);
                r.set(3, 3, c.right);
                r.set(2, 2, c.up);
                r.set(4, 2, c.down);
            }
            const ColourImage out = run24(name, r);
            EXPECT_EQ(out.at(y, 2, kGreen, colour_export(name).flip), c.green) << name;
        }
    }
}

TEST(EdgeSensing, DiagonalChoiceAgainstDiagonalMean) {
    // Blue site with diagonals (-1,-1) 20, (+1,+1) 22, (-1,+1) 0, (+1,-1) 200.
    auto frame = [](int y, int x) {
        RawImage raw(6, 6, false);
        raw.fill(90);
        raw.set(y - 1, x - 1, 20);
        raw.set(y + 1, x + 1, 22);
        raw.set(y - 1, x + 1, 0);
        raw.set(y + 1, x - 1, 200);
        return raw;
    };
    RawImage rggb = frame(3, 3);  // RGGB blue site
    EXPECT_EQ(run24("ZDQCFA_EdgeSensing2_RGGB", rggb).at(3, 3, kRed, false), 21u);
    EXPECT_EQ(run24("ZDQCFA_EdgeSensing1_RGGB", rggb).at(3, 3, kRed, false), 21u);
    RawImage bggr = frame(2, 2);  // BGGR blue site
    EXPECT_EQ(run24("ZDQCFA_EdgeSensing1_BGGR", bggr).at(2, 2, kRed, false), 60u);
}

// ---- Laplacian ----

// RGGB 6x6 frame with the red site (2,2) and its 5x5 cross set.
RawImage laplacian_frame(unsigned c, unsigned left2, unsigned right2, unsigned up2, unsigned down2,
                         unsigned left, unsigned right, unsigned up, unsigned down) {
    RawImage raw(6, 6, false);
    raw.fill(70);
    raw.set(2, 2, c);
    raw.set(2, 0, left2);
    raw.set(2, 4, right2);
    raw.set(0, 2, up2);
    raw.set(4, 2, down2);
    raw.set(2, 1, left);
    raw.set(2, 3, right);
    raw.set(1, 2, up);
    raw.set(3, 2, down);
    return raw;
}

TEST(Laplacian, GreenPassCorrection) {
    struct Case {
        const char* what;
        RawImage raw;
        unsigned green;
    };
    Case cases[] = {
        // oh = 16, ov = -20, gh = 20 < gv = 60: 52 + 16 / 4
        {"worked example", laplacian_frame(100, 90, 94, 60, 160, 50, 54, 40, 80), 56},
        // oh = -7 adds -7 / 4 = -1 (truncation toward zero), not -2
        {"negative truncates", laplacian_frame(10, 13, 14, 10, 10, 50, 50, 0, 100), 49},
        // 0 + (-510 / 4) below zero stores 0
        {"clamp low", laplacian_frame(0, 255, 255, 255, 255, 0, 0, 0, 255), 0},
        // 255 + 510 / 4 above 255 stores 255
        {"clamp high", laplacian_frame(255, 0, 0, 0, 0, 255, 255, 0, 255), 255},
    };
    for (auto& c : cases) {
        for (const char* name : {"ZDQCFA_Laplacian_RGGB", "ZDQCFA_Laplacian_RGGB_Flip"}) {
            const ColourImage out = run24(name, c.raw);
            const bool flip = colour_export(name).flip;
            EXPECT_EQ(out.at(2, 2, kGreen, flip), c.green) << c.what << " " << name;
            EXPECT_EQ(out.at(2, 2, kRed, flip), c.raw.at(2, 2)) << c.what;
        }
    }
}

TEST(Laplacian, SixBySixInteriorIsTwoByTwo) {
    for (const char* pattern : {"RGGB", "BGGR", "GRBG", "GBRG"}) {
        RawImage raw(6, 6, false);
        raw.randomize(11, 255);
        const std::string lap = std::string("ZDQCFA_Laplacian_") + pattern;
        const std::string fill = std::string("ZDQCFA_NearestNeighbor_Edge2_") + pattern;
        const ColourImage out = run24(lap, raw);
        const ColourImage border = run24(fill, raw);
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                const bool interior = y >= 2 && y <= 3 && x >= 2 && x <= 3;
                if (!interior) {
                    EXPECT_EQ(pixel(out, y, x), pixel(border, y, x)) << lap;
                }
            }
        }
    }
}

TEST(Laplacian, ColourPassReadsTheBorderFillGreen) {
    // RGGB blue site (3,3) of a 6x6 frame: its diagonals (2,4), (4,2) and
    // (4,4) lie on the 2-pixel border, (2,2) in the interior.
    RawImage raw(6, 6, false);
    raw.randomize(5, 255);
    const ColourImage out = run24("ZDQCFA_Laplacian_RGGB", raw);
    auto g = [&](int y, int x) { return static_cast<int>(out.at(y, x, kGreen, false)); };
    auto r = [&](int y, int x) { return static_cast<int>(raw.at(y, x)); };
    const int e1 = 2 * g(3, 3) - g(4, 4) - g(2, 2);
    const int e2 = 2 * g(3, 3) - g(4, 2) - g(2, 4);
    const int a1 = std::abs(r(2, 2) - r(4, 4)) + std::abs(e1);
    const int a2 = std::abs(r(2, 4) - r(4, 2)) + std::abs(e2);
    int v = a1 < a2   ? (r(2, 2) + r(4, 4) + e1) / 2
            : a2 < a1 ? (r(2, 4) + r(4, 2) + e2) / 2
                      : (e1 + e2 + r(2, 4) + r(4, 2) + r(2, 2) + r(4, 4)) / 4;
    v = v < 0 ? 0 : v > 255 ? 255 : v;
    EXPECT_EQ(out.at(3, 3, kRed, false), static_cast<unsigned>(v));
}

TEST(Laplacian2, GreenPassStartsTwoFurtherInAndStaysInTheFrame) {
    // Rows and columns 2 and 3 are not reached by the green pass: their
    // green stays 0xFF from the pre-fill. From row and column 5 on (the
    // colour pass there reads greens of rows 4 and up only) the result equals
    // the Laplacian of the same frame.
    RawImage raw(12, 10, false);
    raw.randomize(21, 200);
    const ColourImage two = run24("ZDQCFA_Laplacian2_RGGB", raw);
    const ColourImage one = run24("ZDQCFA_Laplacian_RGGB", raw);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 12; ++x) {
            const bool border = y < 2 || y > 7 || x < 2 || x > 9;
            const bool unreached = !border && (y < 4 || x < 4);
            const bool settled = y >= 5 && y <= 6 && x >= 5 && x <= 8;
            if (border || settled) {
                EXPECT_EQ(pixel(two, y, x), pixel(one, y, x)) << y << "," << x;
            }
            if (unreached && site("RGGB", y, x) == 'G') {
                EXPECT_EQ(two.at(y, x, kGreen, false), 0xFFu) << y << "," << x;
            }
        }
    }
}

}  // namespace
}  // namespace bayer_test
