// The colour correction: the matrix modes and their FPGA registers, the
// software matrix and the channel shifts on a simulated colour camera; the
// raw statistics per Bayer phase and the table file on the tables alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <utility>
#include <vector>

#include "ColourCamera.h"
#include "acquisition/ColourCorrectTables.h"
#include "acquisition/RgbTablePass.h"
#include "platform/WideText.h"

namespace {

class ColourCorrectionTest : public ColourCameraTest {
  protected:
    static uint16_t Fpga(uint16_t wRegister) {
        uint16_t wValue = 0;
        mlsim_fpga_read(0, wRegister, &wValue);
        return wValue;
    }
    static std::vector<float> Matrix() {
        std::vector<float> m(9, 0.0f);
        EXPECT_EQ(ZDQ_ColorCorrectionMatrixGet(0, m.data()), RET_SUCCESS);
        return m;
    }
};

// The software matrix on one colour: single precision, clamped, truncated.
Rgb Corrected(const float m[9], const Rgb& in) {
    const float r = static_cast<float>(in.r), g = static_cast<float>(in.g);
    const float b = static_cast<float>(in.b);
    auto byte = [](float v) {
        return static_cast<double>(static_cast<int>(std::clamp(v, 0.0f, 255.0f)));
    };
    return {byte(m[0] * r + m[1] * g + m[2] * b), byte(m[3] * r + m[4] * g + m[5] * b),
            byte(m[6] * r + m[7] * g + m[8] * b)};
}

Rgb ChartBytes(const Rgb& level) {
    return {static_cast<double>(ChartByte(level.r)), static_cast<double>(ChartByte(level.g)),
            static_cast<double>(ChartByte(level.b))};
}

void ExpectColour(const Rgb& actual, const Rgb& expected) {
    EXPECT_EQ(actual.r, expected.r);
    EXPECT_EQ(actual.g, expected.g);
    EXPECT_EQ(actual.b, expected.b);
}

TEST(TablesAndMatrixPass, EveryLaneWidthGivesTheRuleBytes) {
    const float fMatrices[][9] = {
        {1.5f, -0.25f, -0.25f, -0.25f, 1.5f, -0.25f, -0.25f, -0.25f, 1.5f},
        {0.299f, 0.587f, 0.114f, -0.1687f, -0.3313f, 0.5f, 0.5f, -0.4187f, -0.0813f},
        {1e30f, -1e30f, 3.1f, 0, 0, 0, 1e-7f, 0.999999f, 1.0000001f},
        {NAN, 1, 0, 0, INFINITY, 0, 0, 0, -INFINITY},
    };
    std::mt19937 random(3);
    RgbTables tables;
    for (int v = 0; v < 256; ++v) {
        tables.blue[v] = static_cast<uint8_t>(255 - v);
        tables.green[v] = static_cast<uint8_t>(v / 2);
        tables.red[v] = static_cast<uint8_t>(random());
    }
    constexpr size_t kPixels = 1000 + 13;  // no whole number of lanes
    for (size_t nStep : {3, 4}) {
        std::vector<uint8_t> source(kPixels * nStep);
        for (uint8_t& byte : source) {
            byte = static_cast<uint8_t>(random());
        }
        for (const RgbTables* pTables :
             {static_cast<const RgbTables*>(nullptr), &std::as_const(tables)}) {
            for (const auto& m : fMatrices) {
                // The rule written out: the tables, then products and sums in
                // single precision, NaN to 0, limited, truncated; the fourth
                // byte kept.
                std::vector<uint8_t> expected = source;
                for (size_t i = 0; i < kPixels; ++i) {
                    uint8_t* p = &expected[i * nStep];
                    if (pTables != nullptr) {
                        p[0] = pTables->blue[p[0]];
                        p[1] = pTables->green[p[1]];
                        p[2] = pTables->red[p[2]];
                    }
                    const float r = p[2], g = p[1], b = p[0];
                    const float fOut[3] = {m[6] * r + m[7] * g + m[8] * b,
                                           m[3] * r + m[4] * g + m[5] * b,
                                           m[0] * r + m[1] * g + m[2] * b};
                    for (int c = 0; c < 3; ++c) {
                        p[c] = std::isnan(fOut[c])
                                   ? 0
                                   : static_cast<uint8_t>(std::clamp(fOut[c], 0.0f, 255.0f));
                    }
                }
                for (LaneLevel level : {LaneLevel::kScalar, LaneLevel::kSsse3, LaneLevel::kAvx2}) {
                    if (level > MachineLaneLevel()) {
                        continue;
                    }
                    std::vector<uint8_t> frame = source;
                    ApplyTablesAndMatrixRange(frame.data(), 7, nStep, pTables, m, level);
                    ApplyTablesAndMatrixRange(frame.data() + 7 * nStep, kPixels - 7, nStep, pTables,
                                              m, level);
                    EXPECT_EQ(frame, expected)
                        << "lane level " << static_cast<int>(level) << ", " << nStep
                        << " bytes a pixel, tables " << (pTables != nullptr) << ", m[0] " << m[0];
                }
            }
        }
    }
}

TEST_F(ColourCorrectionTest, SoftwareMatrixOnTheHues) {
    OpenColour(kFpgaWithoutColour);
    // Preset 0 of the 2592 x 1944 family, and a user matrix with clamping.
    const float fPreset0[9] = {1.9375f,  -0.9375f,  0.0f,      -0.34375f, 1.90625f,
                               -0.5625f, -0.21875f, -1.21875f, 2.4375f};
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 1), RET_SUCCESS);
    EXPECT_EQ(Matrix(), std::vector<float>(fPreset0, fPreset0 + 9));
    for (int nColumn = 0; nColumn < 6; ++nColumn) {
        SCOPED_TRACE(nColumn);
        const std::vector<uint8_t> frame = CapturePatch(nColumn, 1);
        EXPECT_TRUE(Uniform(frame));
        ExpectColour(Centre(frame), Corrected(fPreset0, ChartBytes(ChartPatch(nColumn, 1))));
    }
    const float fUser[9] = {0.5f, 0.25f, 0.25f, 0, 3.0f, 0, -1.0f, 0, 1.0f};
    EXPECT_EQ(ZDQ_ColorCorrectionMatrixSet(0, const_cast<float*>(fUser)), RET_SUCCESS)
        << "mode 1 ignores a user matrix";
    EXPECT_EQ(Matrix(), std::vector<float>(fPreset0, fPreset0 + 9));
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 2), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectionMatrixSet(0, const_cast<float*>(fUser)), RET_SUCCESS);
    ExpectColour(Centre(CapturePatch(1, 1)), Corrected(fUser, ChartBytes(ChartPatch(1, 1))));
    // Preset numbers: 5 is stored, the matrix stays; other modes refuse.
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 1), RET_SUCCESS);
    EXPECT_EQ(ZDQ_ColorCorrectionPresettingSet(0, 5), RET_SUCCESS);
    int nPreset = -1;
    ASSERT_EQ(ZDQ_ColorCorrectionPresettingGet(0, &nPreset), RET_SUCCESS);
    EXPECT_EQ(nPreset, 5);
    EXPECT_EQ(Matrix(), std::vector<float>(fPreset0, fPreset0 + 9));
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_ColorCorrectionPresettingSet(0, 1), RET_ILLEGALOPERATION);
    // Mode 7 changes nothing; the FPGA modes need the FPGA.
    EXPECT_EQ(ZDQ_ColorCorrectionSet(0, 7), RET_SUCCESS);
    EXPECT_EQ(ZDQ_ColorCorrectionSet(0, 3), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionSet(0, 4), RET_NOTSUPPORT);
    int nMode = -1;
    ASSERT_EQ(ZDQ_ColorCorrectionGet(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 0);
    ExpectColour(Centre(CapturePatch(1, 1)), ChartBytes(ChartPatch(1, 1)));
}

TEST_F(ColourCorrectionTest, FpgaMatrixModes) {
    OpenColour();
    // Preset 1 of the FPGA, read back from registers 147-155.
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectionPresettingSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 3), RET_SUCCESS);
    EXPECT_EQ(Fpga(9), (1 << 11) | 0x100);
    const std::vector<float> preset1 = {1.25f, -0.25f, 0, 0, 1.25f, -0.25f, -0.25f, 0, 1.25f};
    EXPECT_EQ(Matrix(), preset1);
    const Rgb patch = ChartPatch(2, 1);
    Rgb c = Centre(CapturePatch(2, 1));
    ExpectColour(c, ChartBytes({1.25 * patch.r - 0.25 * patch.g, 1.25 * patch.g - 0.25 * patch.b,
                                -0.25 * patch.r + 1.25 * patch.b}));
    // A user matrix through registers 19-27.
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 4), RET_SUCCESS);
    const float fUser[9] = {0, 1, 0, 1, 0, 0, 0, 0, -0.5f};
    ASSERT_EQ(ZDQ_ColorCorrectionMatrixSet(0, const_cast<float*>(fUser)), RET_SUCCESS);
    EXPECT_EQ(Fpga(9) & 0x700, 0x700);
    EXPECT_EQ(Fpga(19 + 1), 4096);
    EXPECT_EQ(Fpga(19 + 8), static_cast<uint16_t>(-2048));
    c = Centre(CapturePatch(2, 1));
    ExpectColour(c, ChartBytes({patch.g, patch.r, 0}));
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 0), RET_SUCCESS);
    EXPECT_EQ(Fpga(9) & 0x100, 0);
}

TEST_F(ColourCorrectionTest, ShiftsActThroughTheTables) {
    OpenColour(kFpgaWithoutColour);
    const Rgb patch = ChartBytes(ChartPatch(3, 0));
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED_SHIFT, 300), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE_SHIFT, -300), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN_SHIFT, 7), RET_SUCCESS);
    int nShift = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_RED_SHIFT, &nShift), RET_SUCCESS);
    EXPECT_EQ(nShift, 255);
    ExpectColour(Centre(CapturePatch(3, 0)), patch);  // table mode 0: no effect
    // Mode 4 serves its request on the next RGB frame; the shifts then
    // rewrite the tables the search filled.
    ASSERT_EQ(ZDQ_ColorCorrectSet(0, 4, 180, 180, 180), RET_SUCCESS);
    CapturePatch(3, 0);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED_SHIFT, 300), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE_SHIFT, -300), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN_SHIFT, 7), RET_SUCCESS);
    ExpectColour(Centre(CapturePatch(3, 0)), {255, patch.g + 7, 0});
}

TEST_F(ColourCorrectionTest, BalanceThenTablesThenMatrixInOnePass) {
    OpenColour(kFpgaWithoutColour);
    const Rgb patch = ChartBytes(ChartPatch(3, 0));
    float fGains[3] = {1.2f, 1.0f, 0.8f};
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 4), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceMatrixSet(0, fGains), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectSet(0, 1, 180, 180, 180), RET_SUCCESS);
    CapturePatch(3, 0);  // the statistics and the gain tables are made
    // The shifts rewrite the colour-correct tables after both.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED_SHIFT, 20), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN_SHIFT, 7), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE_SHIFT, -10), RET_SUCCESS);
    const float fMatrix[9] = {1.1f, -0.1f, 0.05f, 0.0f, 0.9f, 0.1f, -0.2f, 0.0f, 1.3f};
    ASSERT_EQ(ZDQ_ColorCorrectionSet(0, 2), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectionMatrixSet(0, const_cast<float*>(fMatrix)), RET_SUCCESS);
    auto balanced = [](double v, float fGain, int nShift) {
        const double dScaled = static_cast<double>(static_cast<float>(v) * fGain) + 0.5;
        const int nBalanced = static_cast<int>(std::clamp(dScaled, 0.0, 255.0));
        return static_cast<double>(std::clamp(nBalanced + nShift, 0, 255));
    };
    const Rgb tabled = {balanced(patch.r, fGains[0], 20), balanced(patch.g, fGains[1], 7),
                        balanced(patch.b, fGains[2], -10)};
    ExpectColour(Centre(CapturePatch(3, 0)), Corrected(fMatrix, tabled));
}

TEST_F(ColourCorrectionTest, TableModeOneOnTheChartGivesTheInverseTint) {
    OpenColour(kFpgaWithoutColour);
    ASSERT_EQ(mlsim_set_illuminant(0, 1.25, 1, 0.75), 1);
    ASSERT_EQ(ZDQ_AWBSetRegion(0, 0, 0, kWindow, kWindow), RET_SUCCESS);
    struct Offsets {
        int nCalls = 0, nRed = 0, nGreen = -1, nBlue = 0;
    } offsets;
    ASSERT_EQ(ZDQ_ColorCorrectSetCallback(
                  0,
                  [](bool, int r, int g, int b, void* p) {
                      Offsets* o = static_cast<Offsets*>(p);
                      ++o->nCalls;
                      o->nRed = r;
                      o->nGreen = g;
                      o->nBlue = b;
                  },
                  &offsets),
              RET_SUCCESS);
    ASSERT_EQ(ZDQ_ColorCorrectSet(0, 1, 1, 2, 3), RET_SUCCESS);
    const Rgb patch = ChartPatch(5, 0);
    const Rgb raw = ChartBytes({patch.r * 1.25, patch.g, patch.b * 0.75});
    const std::vector<uint8_t> frame = CapturePatch(5, 0);
    ASSERT_EQ(offsets.nCalls, 1);
    EXPECT_EQ(offsets.nRed, static_cast<int>(raw.g - raw.r));
    EXPECT_EQ(offsets.nGreen, 0);
    EXPECT_EQ(offsets.nBlue, static_cast<int>(raw.g - raw.b));
    ExpectColour(Centre(frame), {raw.g, raw.g, raw.g});
    int nMode = 0, nRed = 0, nGreen = 0, nBlue = 0;
    ASSERT_EQ(ZDQ_ColorCorrectGetEx(0, &nMode, &nRed, &nGreen, &nBlue), RET_SUCCESS);
    EXPECT_EQ(nMode * 1000 + nRed * 100 + nGreen * 10 + nBlue, 1123);
    EXPECT_EQ(ZDQ_ColorCorrectGetEx(0, &nMode, nullptr, &nGreen, &nBlue), RET_PARAMERROR);
    CapturePatch(5, 0);
    EXPECT_EQ(offsets.nCalls, 1) << "one computation per request";
}

// A mosaic whose pixels of each colour class carry given values, by phase.
std::vector<uint8_t> Mosaic(int nPhase, int nWidth, int nHeight, uint8_t red[2], uint8_t green[2],
                            uint8_t blue[2]) {
    // Red and blue positions (row parity, column parity) of each phase.
    const int kRed[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
    const int kBlue[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    for (int y = 0; y < nHeight; ++y) {
        for (int x = 0; x < nWidth; ++x) {
            const int alt = (x / 2 + y / 2) & 1;  // two values per class, alternating
            uint8_t v = green[alt];
            if ((y & 1) == kRed[nPhase][0] && (x & 1) == kRed[nPhase][1]) {
                v = red[alt];
            } else if ((y & 1) == kBlue[nPhase][0] && (x & 1) == kBlue[nPhase][1]) {
                v = blue[alt];
            }
            frame[static_cast<size_t>(y) * nWidth + x] = v;
        }
    }
    return frame;
}

TEST(ColourCorrectTablesTest, GreyWorldOffsetsRoundByPhase) {
    // Means: red 100.5, green 151, blue 40.5 (each class holds as many
    // pixels of its two values).
    uint8_t red[2] = {100, 101}, green[2] = {151, 151}, blue[2] = {40, 41};
    const struct {
        int nPhase;
        int nRed, nBlue;  // offsets
    } kCases[] = {
        // Integer means (100, 151, 40): 51 and 111.
        {0, 51, 111},
        {2, 51, 111},
        // Single precision: 50.5 and 110.5 truncated; phase 3 adds 0.5 first.
        {1, 50, 110},
        {3, 51, 111},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nPhase);
        CColourCorrectTables tables;
        tables.Set(1, 180, 180, 180);
        std::vector<uint8_t> frame = Mosaic(c.nPhase, 16, 16, red, green, blue);
        const std::vector<uint8_t> before = frame;
        tables.RawStatistics(frame.data(), 16, 16, c.nPhase, FrameRegion{0, 0, 16, 16});
        EXPECT_EQ(frame, before) << "the statistics only read the frame";
        CColourCorrectTables::Table r, g, b;
        tables.Tables(r, g, b);
        EXPECT_EQ(r[0], std::min(c.nRed, 255));
        EXPECT_EQ(r[255 - c.nRed], 255);
        EXPECT_EQ(g[77], 77);
        EXPECT_EQ(b[0], c.nBlue);
    }
}

TEST(ColourCorrectTablesTest, EqualisationAndEmptyClasses) {
    uint8_t red[2] = {10, 30}, green[2] = {20, 20}, blue[2] = {200, 250};
    std::vector<uint8_t> frame = Mosaic(2, 8, 8, red, green, blue);
    CColourCorrectTables tables;
    tables.Set(2, 0, 0, 0);
    tables.RawStatistics(frame.data(), 8, 8, 2, FrameRegion{0, 0, 8, 8});
    CColourCorrectTables::Table r, g, b;
    tables.Tables(r, g, b);
    // Red: half the pixels at 10, half at 30.
    EXPECT_EQ(r[9], 0);
    EXPECT_EQ(r[10], 127);
    EXPECT_EQ(r[29], 127);
    EXPECT_EQ(r[30], 255);
    EXPECT_EQ(g[19], 0);
    EXPECT_EQ(g[20], 255);
    EXPECT_EQ(b[200], 127);
    // One histogram for all: 16 of 64 at 10, 32 at 20.
    tables.Set(3, 0, 0, 0);
    tables.RawStatistics(frame.data(), 8, 8, 2, FrameRegion{0, 0, 8, 8});
    tables.Tables(r, g, b);
    EXPECT_EQ(r[10], static_cast<int>(8.0f / 64.0f * 255.0f));
    EXPECT_EQ(r[20], static_cast<int>(40.0f / 64.0f * 255.0f));
    EXPECT_EQ(g, r);
    EXPECT_EQ(b, r);
    // A region of one column has no red pixel in phase 2 at odd columns:
    // nothing is computed and the request is cleared.
    CColourCorrectTables fresh;
    fresh.Set(1, 0, 0, 0);
    fresh.RawStatistics(frame.data(), 8, 8, 2, FrameRegion{1, 0, 1, 8});
    fresh.Tables(r, g, b);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(b[0], 0);
    // Frames smaller than 4 pixels are skipped.
    fresh.Set(1, 0, 0, 0);
    fresh.RawStatistics(frame.data(), 3, 3, 2, FrameRegion{0, 0, 3, 3});
    fresh.Tables(r, g, b);
    EXPECT_EQ(b[0], 0);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TEST(ColourCorrectTablesTest, TableFileRoundTripAndDamagedFiles) {
    const std::string path = ScratchPath("colour-table.zdqc");
    const std::wstring wide = plat::WideFromUtf8(path);
    CColourCorrectTables tables;
    EXPECT_EQ(tables.Save(wide.c_str(), 41), RET_FAIL) << "mode 0 has no tables to save";
    tables.Set(2, 170, 180, 190);
    tables.SetShift(0, 12);
    tables.SetShift(2, -40);
    ASSERT_EQ(tables.Save(wide.c_str(), 0x1229), RET_SUCCESS);
    const std::vector<uint8_t> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 812u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "ZDQC");
    EXPECT_EQ(file[6], 1);
    EXPECT_EQ(file[8] | file[9] << 8, 812);
    EXPECT_EQ(file[12], 0x29);
    EXPECT_EQ(file[13], 0);
    EXPECT_EQ(file[16], 2);
    EXPECT_EQ(file[20], 12);
    EXPECT_EQ(file[32], 170);
    EXPECT_EQ(file[44], 12) << "red table";
    EXPECT_EQ(file[556 + 100], 60) << "blue table";

    CColourCorrectTables loaded;
    ASSERT_EQ(loaded.Load(wide.c_str()), RET_SUCCESS);
    EXPECT_TRUE(loaded.Loaded());
    int nMode = 0, nRed = 0, nGreen = 0, nBlue = 0;
    loaded.Get(&nMode, &nRed, &nGreen, &nBlue);
    EXPECT_EQ(nMode, 2);
    EXPECT_EQ(nBlue, 190);
    CColourCorrectTables::Table r, g, b;
    loaded.Tables(r, g, b);
    EXPECT_EQ(r[0], 12);
    EXPECT_EQ(b[100], 60);

    // Damaged files change nothing.
    const struct {
        size_t nAt;
        uint8_t byValue;
        size_t nLength;
        int nRet;
    } kDamage[] = {
        {8, 0x2D, 812, RET_VERSIONERROR},  // size field 813
        {0, 'X', 812, RET_VERSIONERROR},   // magic
        {6, 2, 812, RET_VERSIONERROR},     // version word
        {0, 'Z', 500, RET_FAIL},           // short tables
        {0, 'Z', 20, RET_FAIL},            // short header
        {0, 'Z', 900, RET_VERSIONERROR},   // longer than a table file
    };
    for (const auto& d : kDamage) {
        SCOPED_TRACE(d.nLength);
        std::vector<uint8_t> damaged = file;
        damaged[d.nAt] = d.byValue;
        damaged.resize(d.nLength, 0);
        WriteBytes(path, damaged);
        CColourCorrectTables target;
        target.SetShift(0, 5);
        EXPECT_EQ(target.Load(wide.c_str()), d.nRet);
        EXPECT_FALSE(target.Loaded());
        target.Tables(r, g, b);
        EXPECT_EQ(r[0], 5);
    }
    std::remove(path.c_str());
    CColourCorrectTables missing;
    EXPECT_EQ(missing.Load(wide.c_str()), RET_FAIL);
    // A null name resets the tables.
    ASSERT_EQ(loaded.Load(nullptr), RET_SUCCESS);
    EXPECT_FALSE(loaded.Loaded());
    EXPECT_EQ(loaded.Mode(), 0);
    loaded.Tables(r, g, b);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(b[100], 100);
}

}  // namespace
