// Look-up tables, sensitivity, bad-pixel correction, the process exports and
// flat-field correction, against a simulated 2592 x 1944 camera with an FPGA
// and on fixtures of their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "LutFileFixture.h"
#include "OpenedCamera.h"
#include "acquisition/BadPixelCorrection.h"
#include "acquisition/FlatField.h"
#include "platform/WideText.h"

namespace {

std::wstring WidePath(const std::string& name) {
    return plat::WideFromUtf8(ScratchPath(name));
}

std::vector<MlSimJournalEntry> Requests(uint8_t byRequest) {
    std::vector<MlSimJournalEntry> found;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (entry.request == byRequest) {
            found.push_back(entry);
        }
    }
    return found;
}

uint16_t SimRegister(uint16_t wRegister) {
    uint16_t wValue = 0;
    mlsim_fpga_read(0, wRegister, &wValue);
    return wValue;
}

// Whether output pixel (c, r) of the frame the simulator sends now shows one
// of the flat-field scene's hot array pixels.
bool IsHotPixel(const MlSimFrameInfo& info, int c, int r) {
    const int x = info.col_start + (info.mirror ? info.width - 1 - c : c) * info.col_skip;
    const int y = info.row_start + (info.flip ? info.height - 1 - r : r) * info.row_skip;
    return x % 97 == 13 && y % 89 == 7;
}

class CorrectionTest : public OpenedCameraTest {
  protected:
    // The 2592 x 1944 camera with a 12-bit ADC and the FPGA's table features.
    CDevice& OpenCamera(int nContent = MLSIM_CONTENT_PATTERN) {
        MlSimProfile profile = CameraProfile(kType2592WithFpga);
        profile.content = nContent;
        CDevice& device = Open(profile);
        DeviceCapability& cap = device.Capability();
        cap.Set(SensorCap::bmResolution, 12);
        for (const CapField* pField :
             {&FpgaCap::bmLutDownload, &FpgaCap::bmLutEnable, &FpgaCap::bmGammaLutDownload,
              &FpgaCap::bmGammaLutEnable, &FpgaCap::bmWorkingModeEx, &FpgaCap::bmSensitivityMode}) {
            cap.Set(*pField, 1);
        }
        return device;
    }
};

TEST_F(CorrectionTest, LutFilesAreCheckedAndDownloadedInChunks) {
    OpenCamera();
    struct Case {
        const char* pszName;
        LutFileLayout layout;
        int nResult;
    };
    auto layout = [](auto change) {
        LutFileLayout s;
        change(s);
        return s;
    };
    const Case cases[] = {
        {"version 0x0100", layout([](LutFileLayout& s) { s.wVersion = 0x0100; }), RET_VERSIONERROR},
        {"gamma type", layout([](LutFileLayout& s) { s.cType = 'C'; }), RET_ILLEGALOPERATION},
        {"length above 4096", layout([](LutFileLayout& s) { s.nLength = 4097; }), RET_FAIL},
        {"n above the length", layout([](LutFileLayout& s) { s.byPower = 13; }), RET_FAIL},
        {"n below the length", layout([](LutFileLayout& s) { s.byPower = 8; }), RET_FAIL},
        {"n = 40", layout([](LutFileLayout& s) { s.byPower = 40; }), RET_FAIL},
        {"data cut short", layout([](LutFileLayout& s) { s.nDataEntries = 4000; }), RET_FAIL},
        {"records beyond the file", layout([](LutFileLayout& s) {
             s.nRecords = 100000;
             s.bWriteRecords = false;
         }),
         RET_FAIL},
        // A table the 12-bit ADC does not take: the download's refusal.
        {"256 entries", layout([](LutFileLayout& s) {
             s.byPower = 8;
             s.nLength = 256;
             s.nDataEntries = 256;
         }),
         RET_PARAMERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        mlsim_journal_clear(0);
        EXPECT_EQ(ZDQ_LutFileDownload(0, WriteLutFile("bad.lut", c.layout).c_str()), c.nResult);
        EXPECT_TRUE(Requests(0xDD).empty());
    }
    EXPECT_EQ(ZDQ_LutFileDownload(0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_LutFileDownload(0, WidePath("missing.lut").c_str()), RET_FAIL);

    // A good file: 64 requests of 64 bytes at their offsets.
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_LoadMapTableFile(0, 7, WriteLutFile("good.lut", LutFileLayout{}).c_str()),
              RET_SUCCESS);
    const std::vector<MlSimJournalEntry> chunks = Requests(0xDD);
    ASSERT_EQ(chunks.size(), 64u);
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].request_type, 0x40);
        EXPECT_EQ(chunks[i].value, 64 * i);
        EXPECT_EQ(chunks[i].index, 0);
        EXPECT_EQ(chunks[i].length, 64);
    }
    std::vector<uint8_t> lut(4096);
    ASSERT_EQ(mlsim_lut_read(0, lut.data()), 1);
    for (uint32_t i = 0; i < 4096; ++i) {
        ASSERT_EQ(lut[i], 255 - i / 16) << i;
    }
}

TEST_F(CorrectionTest, LutAndGammaLutDownloadsFromMemory) {
    CDevice& device = OpenCamera();
    std::vector<uint8_t> table(4096, 7);
    EXPECT_EQ(ZDQ_LutDataDownload(0, nullptr, 4096), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_LutDataDownload(0, table.data(), 256), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_WriteLUT(0, 128, table.data(), 65), RET_PARAMERROR);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_WriteLUT(0, 128, table.data(), 64), RET_SUCCESS);
    ASSERT_EQ(Requests(0xDD).size(), 1u);
    EXPECT_EQ(Requests(0xDD)[0].value, 128);

    // The gamma LUT goes in chunks of 32 entries at their entry offsets.
    std::vector<uint16_t> gamma(4096);
    for (size_t i = 0; i < gamma.size(); ++i) {
        gamma[i] = static_cast<uint16_t>(i ^ 0x0A5);
    }
    EXPECT_EQ(ZDQ_GammaLutDataDownload(0, gamma.data(), 1024), RET_PARAMERROR);
    mlsim_journal_clear(0);
    ASSERT_EQ(ZDQ_GammaLutDataDownload(0, gamma.data(), 4096), RET_SUCCESS);
    const std::vector<MlSimJournalEntry> chunks = Requests(0xE9);
    ASSERT_EQ(chunks.size(), 128u);
    for (size_t i = 0; i < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].value, 32 * i);
        EXPECT_EQ(chunks[i].length, 64);
    }
    std::vector<uint16_t> held(4096);
    ASSERT_EQ(mlsim_gamma_lut_read(0, held.data()), 1);
    EXPECT_EQ(held, gamma);
    // A gamma-LUT file of type 'C'; a LUT file refused by its type.
    LutFileLayout layout;
    layout.cType = 'C';
    ASSERT_EQ(ZDQ_GammaLutFileDownload(0, WriteLutFile("gamma.lut", layout).c_str()), RET_SUCCESS);
    ASSERT_EQ(mlsim_gamma_lut_read(0, held.data()), 1);
    EXPECT_EQ(held[0], 4095);
    EXPECT_EQ(held[4095], 0);
    EXPECT_EQ(ZDQ_GammaLutFileDownload(0, WriteLutFile("a.lut", LutFileLayout{}).c_str()),
              RET_ILLEGALOPERATION);

    // Without the capabilities nothing goes out; a closed camera refuses.
    device.Capability().Set(FpgaCap::bmLutDownload, 0);
    device.Capability().Set(FpgaCap::bmGammaLutDownload, 0);
    EXPECT_EQ(ZDQ_LutDataDownload(0, table.data(), 4096), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WriteLUT(0, 0, table.data(), 64), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GammaLutDataDownload(0, gamma.data(), 4096), RET_NOTSUPPORT);
    device.Capability().Set(FpgaCap::bmLutDownload, 1);
    ASSERT_EQ(ZDQ_Close(0), RET_SUCCESS);
    EXPECT_EQ(ZDQ_LutDataDownload(0, table.data(), 4096), RET_DEVICECLOSED);
}

TEST_F(CorrectionTest, SwitchesSensitivityAndTheUnofferedExports) {
    EXPECT_EQ(ZDQ_ReadLUT(0), RET_DEVICENOTINIT);
    CDevice& device = OpenCamera();
    EXPECT_EQ(ZDQ_ReadLUT(0), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_LedSetStatus(5, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_LedGetStatus(0, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_IsSupportLUT(0), RET_SUCCESS);

    bool bOn = false;
    ASSERT_EQ(ZDQ_LutSetEnable(0, true), RET_SUCCESS);
    EXPECT_EQ(SimRegister(0) & 0x0800, 0x0800);
    ASSERT_EQ(ZDQ_IsEnableLUT(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    ASSERT_EQ(ZDQ_EnableLUT(0, false), RET_SUCCESS);
    EXPECT_EQ(SimRegister(0) & 0x0800, 0);
    ASSERT_EQ(ZDQ_GammaLutSetEnable(0, true), RET_SUCCESS);
    EXPECT_EQ(SimRegister(33) & 1, 1);
    ASSERT_EQ(ZDQ_GammaLutGetEnable(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);

    ASSERT_EQ(ZDQ_SensitivitySetMode(0, 11), RET_SUCCESS);  // low three bits
    EXPECT_EQ((SimRegister(0) >> 5) & 7, 3);
    int nMode = 0;
    ASSERT_EQ(ZDQ_SensitivityGetMode(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 3);

    device.Capability().Set(FpgaCap::bmLutEnable, 0);
    device.Capability().Set(FpgaCap::bmGammaLutEnable, 0);
    device.Capability().Set(FpgaCap::bmSensitivityMode, 0);
    EXPECT_EQ(ZDQ_IsSupportLUT(0), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_LutSetEnable(0, true), RET_NOTSUPPORT);
    bOn = true;
    EXPECT_EQ(ZDQ_LutGetEnable(0, &bOn), RET_NOTSUPPORT);
    EXPECT_FALSE(bOn);
    EXPECT_EQ(ZDQ_GammaLutSetEnable(0, false), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_SensitivitySetMode(0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_SensitivityGetMode(0, &nMode), RET_NOTSUPPORT);
    EXPECT_EQ(nMode, 4);
}

TEST_F(CorrectionTest, ProcessExportsClampAndShareTheTables) {
    OpenCamera();
    struct Case {
        int (*pfSet)(int, int);
        int (*pfGet)(int, int*);
        int nGiven, nStored;
    };
    const Case cases[] = {
        {ZDQ_ProcessContrastSet, ZDQ_ProcessContrastGet, 200, 127},
        {ZDQ_ProcessContrastSet, ZDQ_ProcessContrastGet, -300, -128},
        {ZDQ_ProcessBrightnessSet, ZDQ_ProcessBrightnessGet, 50, 50},
        {ZDQ_GammaSetValue, ZDQ_GammaGetValue, 12, 9},
        {ZDQ_GammaSetValue, ZDQ_GammaGetValue, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nGiven);
        ASSERT_EQ(c.pfSet(0, c.nGiven), RET_SUCCESS);
        int nValue = 0;
        ASSERT_EQ(c.pfGet(0, &nValue), RET_SUCCESS);
        EXPECT_EQ(nValue, c.nStored);
    }
    int nValue = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_CONTRAST, &nValue), RET_SUCCESS);
    EXPECT_EQ(nValue, -128);
    ASSERT_EQ(ZDQ_ProcessBrightnessSet(0, 0), RET_SUCCESS);
    int nMin = 0, nMax = 0;
    ASSERT_EQ(ZDQ_ProcessBrightnessGetRange(0, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, -128);
    EXPECT_EQ(nMax, 127);
    ASSERT_EQ(ZDQ_GammaGetRange(0, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, -9);
    EXPECT_EQ(nMax, 9);
    // Contrast -128 maps every byte to 128.
    std::vector<uint8_t> buffer(2592 * 1944);
    ASSERT_EQ(ZDQ_CaptureRawData(0, buffer.data()), RET_SUCCESS);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](uint8_t v) { return v == 128; }));
}

TEST(BadPixelCorrection, OnlyLonePixelsBrighterThanTheirSameColourNeighbours) {
    struct Case {
        const char* pszName;
        std::vector<uint8_t> row;
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {"one hot pixel",
         {10, 10, 10, 10, 10, 10, 200, 10, 10, 10, 10, 10},
         {10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}},
        {"hot beside a brighter near neighbour",
         {10, 10, 10, 10, 30, 10, 200, 10, 20, 10, 10, 10, 10},
         {10, 10, 10, 10, 30, 10, 30, 10, 20, 10, 10, 10, 10}},
        {"a two-pixel line is kept",
         {10, 10, 10, 10, 10, 10, 200, 10, 200, 10, 10, 10, 10},
         {10, 10, 10, 10, 10, 10, 200, 10, 200, 10, 10, 10, 10}},
        {"below the far threshold",
         {10, 10, 10, 10, 10, 10, 34, 10, 10, 10, 10, 10},
         {10, 10, 10, 10, 10, 10, 34, 10, 10, 10, 10, 10}},
        {"a dark pixel is kept",
         {100, 100, 100, 100, 100, 0, 100, 100, 100, 100, 100},
         {100, 100, 100, 100, 100, 0, 100, 100, 100, 100, 100}},
        {"rows of 8 are left alone",
         {10, 10, 10, 10, 200, 10, 10, 10},
         {10, 10, 10, 10, 200, 10, 10, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::vector<uint8_t> frame = c.row;
        frame.insert(frame.end(), c.row.begin(), c.row.end());  // two rows
        CorrectBadPixels(frame.data(), static_cast<int>(c.row.size()), 2, BadPixelThresholds{});
        std::vector<uint8_t> expected = c.expected;
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(frame, expected);
    }
}

TEST(BadPixelCorrection, EveryLaneWidthAndBandsOfRowsGiveTheSameFrame) {
    constexpr int kWidth = 2592, kHeight = 301;
    std::mt19937 random(5);
    std::vector<uint8_t> source(static_cast<size_t>(kWidth) * kHeight);
    for (uint8_t& v : source) {
        v = static_cast<uint8_t>(random() % 40);
        if (random() % 50 == 0) {
            v = 255;
        }
    }
    std::vector<uint8_t> expected = source;
    CorrectBadPixels(expected.data(), kWidth, kHeight, BadPixelThresholds{}, nullptr,
                     LaneLevel::kScalar);
    EXPECT_GT(std::count(expected.begin(), expected.end(), 255), 0);  // lines of two are kept
    EXPECT_LT(std::count(expected.begin(), expected.end(), 255), expected.size() / 60);
    CFrameWorkers workers;
    for (LaneLevel level : {LaneLevel::kScalar, LaneLevel::kSsse3, LaneLevel::kAvx2}) {
        if (level > MachineLaneLevel()) {
            continue;
        }
        std::vector<uint8_t> frame = source;
        CorrectBadPixels(frame.data(), kWidth, kHeight, BadPixelThresholds{}, &workers, level);
        EXPECT_EQ(frame, expected) << "lane level " << static_cast<int>(level);
    }
}

TEST_F(CorrectionTest, BadPixelsInTheCameraOrInTheSdk) {
    CDevice& device = OpenCamera(MLSIM_CONTENT_FLAT_FIELD);
    // In the FPGA: register 0 bits 2 and 3.
    device.Capability().Set(FpgaCap::bmBadPixelCorrection, 1);
    ASSERT_EQ(ZDQ_BadPixelCorrectionSet(0, true, 3), RET_SUCCESS);
    EXPECT_EQ(SimRegister(0) & 0x000C, 0x000C);
    bool bOn = false;
    int nMode = 0;
    ASSERT_EQ(ZDQ_BadPixelCorrectionGet(0, &bOn, &nMode), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_EQ(nMode, 1);
    EXPECT_EQ(ZDQ_BadPixelCorrectionSetThreshold(0, 5, 6), RET_NOTSUPPORT);
    ASSERT_EQ(ZDQ_BadPixelCorrectionSet(0, false, 0), RET_SUCCESS);
    EXPECT_EQ(SimRegister(0) & 0x000C, 0);

    // In the SDK: the hot pixels of the flat-field scene are corrected.
    device.Capability().Set(FpgaCap::bmBadPixelCorrection, 0);
    ASSERT_EQ(ZDQ_ExposureTimeSet(0, 20.0f), RET_SUCCESS);
    std::vector<uint8_t> raw(2592 * 1944), corrected(raw.size());
    ASSERT_EQ(ZDQ_CaptureRawData(0, raw.data()), RET_SUCCESS);
    ASSERT_EQ(ZDQ_BadPixelCorrectionSetThreshold(0, 12, 24), RET_SUCCESS);
    ASSERT_EQ(ZDQ_BadPixelCorrectionSet(0, true, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_BadPixelCorrectionGet(0, &bOn, &nMode), RET_NOTSUPPORT);
    EXPECT_TRUE(bOn);
    ASSERT_EQ(ZDQ_CaptureRawData(0, corrected.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    ASSERT_EQ(info.width, 2592);
    int nHot = 0;
    for (int y = 0; y < 1944; ++y) {
        for (int x = 4; x < 2592 - 4; ++x) {
            const size_t i = static_cast<size_t>(y) * 2592 + x;
            const bool bHot = IsHotPixel(info, x, y);
            if (bHot) {
                ++nHot;
                ASSERT_EQ(raw[i], 255);
                ASSERT_LT(corrected[i], 200) << x << "," << y;
            } else {
                ASSERT_EQ(corrected[i], raw[i]) << x << "," << y;
            }
        }
    }
    EXPECT_GT(nHot, 100);
    uint8_t byNear = 0, byFar = 0;
    ASSERT_EQ(ZDQ_BadPixelCorrectionSetThreshold(0, 300, 40), RET_SUCCESS);
    ASSERT_EQ(ZDQ_BadPixelCorrectionGetThreshold(0, &byNear, &byFar), RET_SUCCESS);
    EXPECT_EQ(byNear, 44);  // stored as a byte
    EXPECT_EQ(byFar, 40);
    // Mode 0 resets the thresholds.
    ASSERT_EQ(ZDQ_BadPixelCorrectionSet(0, true, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_BadPixelCorrectionGetThreshold(0, &byNear, &byFar), RET_SUCCESS);
    EXPECT_EQ(byNear, 12);
    EXPECT_EQ(byFar, 24);
}

TEST(FlatFieldFrames, GainTableAndCorrection) {
    CFlatFieldFrames frames;
    EXPECT_EQ(frames.MakeGain(), RET_ILLEGALOPERATION);
    EXPECT_EQ(CFlatFieldFrames::Average({0, 5, 6, 1000, 2000}, 4),
              (std::vector<uint8_t>{0, 1, 2, 250, 255}));
    frames.SetDark({10, 10, 10, 50});
    frames.SetFlat({30, 50, 10, 40});  // flat - dark: 20, 40, 0, -10; mean 12.5
    ASSERT_EQ(frames.MakeGain(), RET_SUCCESS);
    EXPECT_FLOAT_EQ(frames.Gain()[0], 12.5f / 20);
    EXPECT_FLOAT_EQ(frames.Gain()[1], 12.5f / 40);
    EXPECT_FLOAT_EQ(frames.Gain()[2], 1.0f);
    EXPECT_FLOAT_EQ(frames.Gain()[3], 1.0f);
    std::vector<uint8_t> frame = {30, 5, 255, 20};
    frames.Apply(frame.data(), 4);
    // (30-10) x 0.625 = 12.5 -> 13; below the dark value -> 0; 245 x 1; -30 -> 0.
    EXPECT_EQ(frame, (std::vector<uint8_t>{13, 0, 245, 0}));
    // A frame of another size is left alone.
    std::vector<uint8_t> other = {30, 5, 255};
    frames.Apply(other.data(), 3);
    EXPECT_EQ(other, (std::vector<uint8_t>{30, 5, 255}));
}

TEST(FlatFieldFrames, EveryLaneWidthAndBandGivesTheRuleBytes) {
    std::mt19937 random(11);
    constexpr size_t kBytes = 300007;  // no whole number of lanes
    std::vector<uint8_t> source(kBytes), dark(kBytes);
    std::vector<float> gain(kBytes);
    const float fSpecial[] = {0.0f,  1.0f,  0.5f,   1.7f,    250.0f,   1e30f,
                              -1.0f, 1e-7f, 0.999f, 1.0001f, INFINITY, NAN};
    for (size_t i = 0; i < kBytes; ++i) {
        source[i] = static_cast<uint8_t>(random());
        dark[i] = static_cast<uint8_t>(random() % 64);
        gain[i] = i % 3 == 0 ? fSpecial[random() % std::size(fSpecial)]
                             : std::uniform_real_distribution<float>(0.2f, 3.0f)(random);
    }
    // The rule written out for finite values; NaN and infinite products give 0
    // or 255 as the limits say.
    std::vector<uint8_t> expected(kBytes);
    for (size_t i = 0; i < kBytes; ++i) {
        const float x = (static_cast<float>(source[i]) - dark[i]) * gain[i] + 0.5f;
        expected[i] = std::isnan(x) ? 0 : static_cast<uint8_t>(std::clamp(x, 0.0f, 255.0f));
    }
    const LaneLevel levels[] = {LaneLevel::kScalar, LaneLevel::kSsse3, LaneLevel::kAvx2};
    for (LaneLevel level : levels) {
        if (level > MachineLaneLevel()) {
            continue;
        }
        std::vector<uint8_t> frame = source;
        CorrectFlatField(frame.data(), dark.data(), gain.data(), 0, 5, level);
        CorrectFlatField(frame.data(), dark.data(), gain.data(), 5, kBytes, level);
        EXPECT_EQ(frame, expected) << "lane level " << static_cast<int>(level);
    }
    CFlatFieldFrames frames;
    frames.SetDarkAndGain(dark, gain);
    CFrameWorkers workers;
    std::vector<uint8_t> frame = source;
    frames.Apply(frame.data(), kBytes, &workers);
    EXPECT_EQ(frame, expected);
}

class FlatFieldTest : public CorrectionTest {
  protected:
    static constexpr int kWidth = 2592, kHeight = 1944;

    void SetUp() override {
        CorrectionTest::SetUp();
        OpenCamera(MLSIM_CONTENT_FLAT_FIELD);
        // Room for the flat scene's synthesis in a sanitizer build on a busy machine.
        ASSERT_EQ(ZDQ_CaptureSetTimeOutEx(0, 10000, false), RET_SUCCESS);
        ASSERT_EQ(ZDQ_SetFlatFieldCorrectionFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0, 1),
                  RET_SUCCESS);
    }

    static void MakeFrames() {
        ASSERT_EQ(ZDQ_ExposureTimeSet(0, 0.05f), RET_SUCCESS);  // lens covered
        ASSERT_EQ(ZDQ_MakeDarkFrame(0, 2), RET_SUCCESS);
        ASSERT_EQ(ZDQ_ExposureTimeSet(0, 25.0f), RET_SUCCESS);
        ASSERT_EQ(ZDQ_MakeFlatFieldFrame(0, 3), RET_SUCCESS);
    }

    static std::vector<uint8_t> Capture() {
        std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight);
        EXPECT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        return frame;
    }

    // Smallest and largest byte outside the hot pixels.
    static std::pair<int, int> Spread(const std::vector<uint8_t>& frame) {
        MlSimFrameInfo info{};
        mlsim_frame_info(0, &info);
        int nMin = 255, nMax = 0;
        for (size_t i = 0; i < frame.size(); ++i) {
            if (!IsHotPixel(info, static_cast<int>(i % kWidth), static_cast<int>(i / kWidth))) {
                nMin = std::min<int>(nMin, frame[i]);
                nMax = std::max<int>(nMax, frame[i]);
            }
        }
        return {nMin, nMax};
    }
};

TEST_F(FlatFieldTest, TheVignettedSceneComesOutFlat) {
    bool bOn = true;
    EXPECT_EQ(ZDQ_PreviewSetFlatFieldCorrection(0, true), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_ILLEGALOPERATION);
    EXPECT_EQ(ZDQ_MakeDarkFrame(0, 0), RET_PARAMERROR);
    MakeFrames();
    const std::vector<uint8_t> raw = Capture();
    const auto rawSpread = Spread(raw);
    EXPECT_LT(rawSpread.first * 2, rawSpread.second);  // corners far darker
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureGetFlatFieldCorrection(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    const std::vector<uint8_t> corrected = Capture();
    const auto spread = Spread(corrected);
    EXPECT_LE(spread.second - spread.first, 1);
    EXPECT_EQ(ZDQ_MakeDarkFrame(0, 1), RET_ILLEGALOPERATION);
    // A window of another size is not corrected.
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    std::vector<uint8_t> small(640 * 480), plain(small.size());
    ASSERT_EQ(ZDQ_CaptureRawData(0, small.data()), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, false), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureRawData(0, plain.data()), RET_SUCCESS);
    EXPECT_EQ(small, plain);
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, kWidth, kHeight, 0, 0), RET_SUCCESS);

    // Save and load: the loaded correction gives the same frame.
    const std::wstring file = WidePath("flat.ffc");
    ASSERT_EQ(ZDQ_SaveFlatFieldCorrection(0, file.c_str()), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, false), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ExposureTimeSet(0, 10.0f), RET_SUCCESS);
    ASSERT_EQ(ZDQ_MakeDarkFrame(0, 1), RET_SUCCESS);  // a wrong dark frame
    ASSERT_EQ(ZDQ_LoadFlatFieldCorrection(0, file.c_str()), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_SUCCESS);
    ASSERT_EQ(ZDQ_ExposureTimeSet(0, 25.0f), RET_SUCCESS);
    EXPECT_EQ(Capture(), corrected);
    int nCol = -1, nRow = -1, nColSize = 0, nRowSize = 0, nAmCol = -1, nAmRow = -1;
    unsigned short usFrames = 0;
    ASSERT_EQ(ZDQ_GetFlatFieldCorrectionFieldOfView(0, &nCol, &nRow, &nColSize, &nRowSize, &nAmCol,
                                                    &nAmRow, &usFrames),
              RET_SUCCESS);
    EXPECT_EQ(nColSize, kWidth);
    EXPECT_EQ(nRowSize, kHeight);
    EXPECT_EQ(usFrames, 1);
}

TEST_F(FlatFieldTest, DamagedFilesAndFailedCapturesChangeNothing) {
    EXPECT_EQ(ZDQ_SaveFlatFieldCorrection(0, WidePath("none.ffc").c_str()), RET_FAIL);
    MakeFrames();
    const std::string path = ScratchPath("good.ffc");
    ASSERT_EQ(ZDQ_SaveFlatFieldCorrection(0, plat::WideFromUtf8(path).c_str()), RET_SUCCESS);
    std::vector<char> good;
    {
        std::ifstream in(path, std::ios::binary);
        good.assign(std::istreambuf_iterator<char>(in), {});
    }
    ASSERT_EQ(good.size(), 42u + 5u * kWidth * kHeight);
    auto damaged = [&](const char* pszName, auto change) {
        std::vector<char> bytes = good;
        change(bytes);
        const std::string damagedPath = ScratchPath(pszName);
        std::ofstream(damagedPath, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return plat::WideFromUtf8(damagedPath);
    };
    struct Case {
        std::wstring file;
        int nResult;
    };
    const Case cases[] = {
        {damaged("cut.ffc", [](std::vector<char>& b) { b.resize(b.size() - 1); }), RET_FAIL},
        {damaged("long.ffc", [](std::vector<char>& b) { b.push_back(0); }), RET_FAIL},
        {damaged("header.ffc", [](std::vector<char>& b) { b.resize(20); }), RET_FAIL},
        {damaged("width.ffc", [](std::vector<char>& b) { b[24] = 1; }), RET_VERSIONERROR},
        {damaged("bytes.ffc", [](std::vector<char>& b) { b[39] = 0x40; }), RET_VERSIONERROR},
        {damaged("window.ffc", [](std::vector<char>& b) { b[9] = 0x7F; }), RET_VERSIONERROR},
        {WidePath("missing.ffc"), RET_FAIL},
    };
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_SUCCESS);
    const std::vector<uint8_t> corrected = Capture();
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, false), RET_SUCCESS);
    for (const Case& c : cases) {
        EXPECT_EQ(ZDQ_LoadFlatFieldCorrection(0, c.file.c_str()), c.nResult);
    }
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_SUCCESS);
    EXPECT_EQ(Capture(), corrected);
    ASSERT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, false), RET_SUCCESS);

    // A dark frame whose second capture fails: the capture's code, no frame
    // kept, and the capture window restored.
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    mlsim_fault_add(0, MLSIM_FAULT_READ_ZERO, MLSIM_MATCH_ANY, 1, 1, 0);
    EXPECT_EQ(ZDQ_MakeDarkFrame(0, 3), RET_ZEROFRAME);
    mlsim_fault_clear(0);
    EXPECT_EQ(ZDQ_CaptureSetFlatFieldCorrection(0, true), RET_ILLEGALOPERATION);
    int nColSize = 0, nRowSize = 0;
    ASSERT_EQ(
        ZDQ_CaptureGetFieldOfView(0, nullptr, nullptr, &nColSize, &nRowSize, nullptr, nullptr),
        RET_SUCCESS);
    EXPECT_EQ(nColSize, 640);
    EXPECT_EQ(nRowSize, 480);
}

}  // namespace
