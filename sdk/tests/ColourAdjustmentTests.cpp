// Hue-saturation and the process saturation against an independent HSL
// computation, and both cubes on a simulated colour camera.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "ColourCamera.h"
#include "acquisition/ColourAdjustments.h"
#include "acquisition/ColourCube.h"

namespace {

// HSL in double precision, hue in turns.
struct Hsl {
    double h, s, l;
};

Hsl ToHsl(double r, double g, double b) {
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    Hsl out{0, 0, (mx + mn) / 2};
    if (mx == mn) {
        return out;
    }
    const double d = mx - mn;
    out.s = out.l <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx) {
        out.h = (g - b) / d;
    } else if (g == mx) {
        out.h = (b - r) / d + 2;
    } else {
        out.h = (r - g) / d + 4;
    }
    out.h /= 6;
    if (out.h < 0) {
        out.h += 1;
    }
    return out;
}

double HueToChannel(double m1, double m2, double h) {
    h -= std::floor(h);
    if (h < 1.0 / 6) {
        return m1 + (m2 - m1) * 6 * h;
    }
    if (h < 0.5) {
        return m2;
    }
    if (h < 2.0 / 3) {
        return m1 + (m2 - m1) * (2.0 / 3 - h) * 6;
    }
    return m1;
}

void FromHsl(const Hsl& c, double rgb[3]) {
    if (c.s == 0) {
        rgb[0] = rgb[1] = rgb[2] = c.l;
        return;
    }
    const double m2 = c.l <= 0.5 ? c.l * (1 + c.s) : c.l + c.s - c.l * c.s;
    const double m1 = 2 * c.l - m2;
    rgb[0] = HueToChannel(m1, m2, c.h + 1.0 / 3);
    rgb[1] = HueToChannel(m1, m2, c.h);
    rgb[2] = HueToChannel(m1, m2, c.h - 1.0 / 3);
}

int Byte(double v) {
    return static_cast<int>(std::clamp(v * 255 + 0.5, 0.0, 255.0));
}

// A score of colours (r, g, b) across the cube.
const int kColours[][3] = {
    {255, 0, 0},     {0, 255, 0},     {0, 0, 255},    {255, 255, 0},  {0, 255, 255},
    {255, 0, 255},   {200, 100, 50},  {50, 100, 200}, {17, 200, 33},  {120, 120, 120},
    {250, 240, 230}, {10, 5, 0},      {128, 64, 192}, {64, 192, 128}, {90, 30, 30},
    {0, 0, 0},       {255, 255, 255}, {33, 66, 99},   {240, 20, 120}, {140, 210, 70},
};

TEST(ColourCubeTest, EveryLaneWidthAndPieceReadsTheSameEntries) {
    CColourCube cube;
    ASSERT_TRUE(cube.Allocate());
    // An entry that tells its colour apart from every other.
    const auto convert = [](const void*, int b, int g, int r, uint8_t* pOut) {
        pOut[0] = static_cast<uint8_t>(b * 7 + g);
        pOut[1] = static_cast<uint8_t>(g ^ r);
        pOut[2] = static_cast<uint8_t>(r + 3 * b);
    };
    cube.Fill(convert, nullptr);
    std::mt19937 random(9);
    for (size_t nStep : {3, 4}) {
        std::vector<uint8_t> source(300007 * nStep);
        for (uint8_t& byte : source) {
            byte = static_cast<uint8_t>(random());
        }
        // The first and the last entry of the cube.
        std::fill_n(source.begin(), 3, uint8_t{0});
        std::fill_n(source.end() - static_cast<std::ptrdiff_t>(nStep), 3, uint8_t{255});
        std::vector<uint8_t> expected = source;
        for (size_t i = 0; i < expected.size(); i += nStep) {
            uint8_t* p = &expected[i];
            convert(nullptr, p[0], p[1], p[2], p);
        }
        CFrameWorkers workers;
        for (LaneLevel level : {LaneLevel::kScalar, LaneLevel::kSsse3, LaneLevel::kAvx2}) {
            if (level > MachineLaneLevel()) {
                continue;
            }
            std::vector<uint8_t> frame = source;
            cube.Apply(frame.data(), source.size() / nStep, nStep, &workers, level);
            EXPECT_EQ(frame, expected)
                << "lane level " << static_cast<int>(level) << ", " << nStep << " bytes a pixel";
        }
    }
}

TEST(HueSaturationTest, MasterHueTurnsEveryHue) {
    int settings[CHueSaturation::kRanges][3] = {};
    settings[0][0] = 30;
    for (const auto& c : kColours) {
        SCOPED_TRACE(c[0] * 65536 + c[1] * 256 + c[2]);
        uint8_t out[3];
        CHueSaturation::Convert(settings, c[2], c[1], c[0], out);
        Hsl hsl = ToHsl(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
        hsl.h += 30.0 / 360;
        double rgb[3];
        FromHsl(hsl, rgb);
        EXPECT_NEAR(out[2], Byte(rgb[0]), 1);
        EXPECT_NEAR(out[1], Byte(rgb[1]), 1);
        EXPECT_NEAR(out[0], Byte(rgb[2]), 1);
    }
}

TEST(HueSaturationTest, MasterSaturationMinusHundredMakesGrey) {
    int settings[CHueSaturation::kRanges][3] = {};
    settings[0][1] = -100;
    for (const auto& c : kColours) {
        uint8_t out[3];
        CHueSaturation::Convert(settings, c[2], c[1], c[0], out);
        const Hsl hsl = ToHsl(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
        EXPECT_EQ(out[0], out[1]);
        EXPECT_EQ(out[1], out[2]);
        EXPECT_NEAR(out[0], Byte(hsl.l), 1);
    }
}

TEST(HueSaturationTest, RangeSettingsActOnTheirColoursOnly) {
    int settings[CHueSaturation::kRanges][3] = {};
    settings[3][2] = 100;  // green: lightness 0.5 becomes 0.75
    uint8_t out[3];
    CHueSaturation::Convert(settings, 0, 255, 0, out);
    EXPECT_EQ(out[1], 255);
    EXPECT_EQ(out[0], 128);
    EXPECT_EQ(out[2], 128);
    CHueSaturation::Convert(settings, 0, 0, 255, out);
    EXPECT_EQ(out[2], 255);
    EXPECT_EQ(out[1], 0) << "red is not in the green range";
    CHueSaturation hue;
    EXPECT_EQ(hue.Set(7, 10, 0, 0), RET_PARAMERROR);
    EXPECT_EQ(hue.Set(-1, 10, 0, 0), RET_PARAMERROR);
    EXPECT_EQ(hue.Get(7, nullptr, nullptr, nullptr), RET_PARAMERROR);
    ASSERT_EQ(hue.Set(6, 500, -500, 50), RET_SUCCESS);
    int h = 0, s = 0, l = 0;
    ASSERT_EQ(hue.Get(6, &h, &s, &l), RET_SUCCESS);
    EXPECT_EQ(h, 180);
    EXPECT_EQ(s, -100);
    EXPECT_EQ(l, 50);
}

TEST(ProcessSaturationTest, FactorScalesTheSaturation) {
    const struct {
        int nValue;
        double dFactor;
    } kCases[] = {{-128, 0.0}, {-64, 0.5}, {64, 1.5}};
    for (const auto& k : kCases) {
        for (const auto& c : kColours) {
            uint8_t out[3];
            CProcessSaturation::Convert(static_cast<float>((k.nValue + 128) / 128.0), c[2], c[1],
                                        c[0], out);
            Hsl hsl = ToHsl(c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
            hsl.s *= k.dFactor;
            double rgb[3];
            FromHsl(hsl, rgb);
            if (hsl.s == 0) {
                // Grey is L x 255 truncated.
                EXPECT_NEAR(out[0], static_cast<int>(hsl.l * 255), 1);
                continue;
            }
            EXPECT_NEAR(out[2], Byte(rgb[0]), 1) << k.nValue;
            EXPECT_NEAR(out[1], Byte(rgb[1]), 1) << k.nValue;
            EXPECT_NEAR(out[0], Byte(rgb[2]), 1) << k.nValue;
        }
    }
}

class ColourAdjustmentTest : public ColourCameraTest {};

TEST_F(ColourAdjustmentTest, CubesActOnCapturedFrames) {
    OpenColour(kFpgaWithoutColour);
    const Rgb plain = Centre(CapturePatch(0, 1));
    // The process saturation is the saturation parameter.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_SATURATION, -128), RET_SUCCESS);
    int nValue = 0;
    ASSERT_EQ(ZDQ_ProcessSaturationGet(0, &nValue), RET_SUCCESS);
    EXPECT_EQ(nValue, -128);
    int nMin = 0, nMax = 0;
    ASSERT_EQ(ZDQ_ProcessSaturationGetRange(0, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, -128);
    EXPECT_EQ(nMax, 127);
    Rgb grey = Centre(CapturePatch(0, 1));
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.b, grey.g);
    ASSERT_EQ(ZDQ_ProcessSaturationSet(0, 0), RET_SUCCESS);
    // Hue-saturation: enabled it starts as the identity.
    ASSERT_EQ(ZDQ_HueSaturationSetEnable(0, true), RET_SUCCESS);
    Rgb same = Centre(CapturePatch(0, 1));
    EXPECT_EQ(same.r, plain.r);
    EXPECT_EQ(same.b, plain.b);
    ASSERT_EQ(ZDQ_HueSaturationSet(0, 1, 0, -100, 0), RET_SUCCESS);  // reds lose colour
    grey = Centre(CapturePatch(0, 1));
    EXPECT_EQ(grey.r, grey.g);
    EXPECT_EQ(grey.b, grey.g);
    ASSERT_EQ(ZDQ_HueSaturationSetEnable(0, false), RET_SUCCESS);
    bool bOn = true;
    ASSERT_EQ(ZDQ_HueSaturationGetEnable(0, &bOn), RET_SUCCESS);
    EXPECT_FALSE(bOn);
    EXPECT_EQ(Centre(CapturePatch(0, 1)).r, plain.r);
}

}  // namespace
