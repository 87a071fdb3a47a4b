// The white balance on a simulated colour camera showing the colour chart:
// the mode table and its FPGA register values, the software tables and the
// grey-world search, the FPGA's own white balance, the gain loop.
#include <gtest/gtest.h>

#include <vector>

#include "ColourCamera.h"

namespace {

class WhiteBalanceTest : public ColourCameraTest {
  protected:
    static uint16_t Fpga(uint16_t wRegister) {
        uint16_t wValue = 0;
        mlsim_fpga_read(0, wRegister, &wValue);
        return wValue;
    }
    static std::vector<float> Gains() {
        std::vector<float> gains(3, 0.0f);
        EXPECT_EQ(ZDQ_WhiteBalanceMatrixGet(0, gains.data()), RET_SUCCESS);
        return gains;
    }
};

// The table a gain gives: i x gain in single precision, plus 0.5, truncated.
int Balanced(int i, float fGain) {
    const double d = static_cast<double>(static_cast<float>(i) * fGain) + 0.5;
    return static_cast<int>(std::clamp(d, 0.0, 255.0));
}

struct CallbackLog {
    int nCalls = 0;
    float fGains[3] = {};
};

void OnGains(float* pfMatrix, void* pContext) {
    CallbackLog* pLog = static_cast<CallbackLog*>(pContext);
    ++pLog->nCalls;
    std::copy_n(pfMatrix, 3, pLog->fGains);
}

TEST_F(WhiteBalanceTest, ChartPassesUnchangedWithTheWhiteBalanceOff) {
    OpenColour();
    int nMode = -1;
    ASSERT_EQ(ZDQ_WhiteBalanceGet(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 0);
    const std::vector<uint8_t> frame = CapturePatch(1, 1);
    ASSERT_TRUE(Uniform(frame));
    const Rgb c = Centre(frame);
    const Rgb patch = ChartPatch(1, 1);
    EXPECT_EQ(c.r, ChartByte(patch.r));
    EXPECT_EQ(c.g, ChartByte(patch.g));
    EXPECT_EQ(c.b, ChartByte(patch.b));
}

TEST_F(WhiteBalanceTest, ModesWriteTheColourRegister) {
    OpenColour();
    ASSERT_EQ(ZDQ_WhiteBalancePresettingSet(0, 2), RET_SUCCESS);
    const float fGains[3] = {2.0f, 1.0f, 0.5f};
    const struct {
        int nMode;
        int nRet;
        uint16_t wRegister;  // register 9 afterwards
    } kCases[] = {
        {5, RET_SUCCESS, 2 * 8 + 1},
        {6, RET_SUCCESS, 16 | 3},
        {7, RET_SUCCESS, (19 & 0xFFFD) | 5},
        {0, RET_SUCCESS, 21 & 0xFFFE},
        {8, RET_SUCCESS, 20 | 7},
        {1, RET_SUCCESS, 23 & 0xFFFE},
        {9, RET_PARAMERROR, 22},
        {-1, RET_PARAMERROR, 22},
    };
    int nExpectedMode = 0;
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nMode);
        if (c.nMode == 8) {
            ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 4), RET_SUCCESS);
            ASSERT_EQ(ZDQ_WhiteBalanceMatrixSet(0, const_cast<float*>(fGains)), RET_SUCCESS);
        }
        EXPECT_EQ(ZDQ_WhiteBalanceSet(0, c.nMode), c.nRet);
        EXPECT_EQ(Fpga(9), c.wRegister);
        if (c.nRet == RET_SUCCESS) {
            nExpectedMode = c.nMode;
        }
        int nMode = -1;
        ASSERT_EQ(ZDQ_WhiteBalanceGet(0, &nMode), RET_SUCCESS);
        EXPECT_EQ(nMode, nExpectedMode) << "a refused mode keeps the mode";
    }
    // Mode 8 wrote the gains x 4096 into registers 16-18.
    EXPECT_EQ(Fpga(16), 8192);
    EXPECT_EQ(Fpga(17), 4096);
    EXPECT_EQ(Fpga(18), 2048);
    EXPECT_EQ(ZDQ_WhiteBalanceMatrixSet(0, const_cast<float*>(fGains)), RET_ILLEGALOPERATION)
        << "user gains need mode 4 or 8";
    EXPECT_EQ(ZDQ_WhiteBalanceMatrixSet(0, nullptr), RET_PARAMERROR);
}

TEST_F(WhiteBalanceTest, WithoutTheFpgasWhiteBalanceOnlySoftwareModesWork) {
    OpenColour(kFpgaWithoutColour);
    for (int nMode : {0, 1, 2, 3, 4}) {
        EXPECT_EQ(ZDQ_WhiteBalanceSet(0, nMode), RET_SUCCESS) << nMode;
    }
    for (int nMode : {5, 6, 7, 8}) {
        EXPECT_EQ(ZDQ_WhiteBalanceSet(0, nMode), RET_NOTSUPPORT) << nMode;
    }
    int nMode = -1;
    ASSERT_EQ(ZDQ_WhiteBalanceGet(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 4);
}

TEST_F(WhiteBalanceTest, AFailedRegisterWriteKeepsTheMode) {
    OpenColour();
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 3), RET_SUCCESS);
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0x2B, 0, -1, 0), 1);
    mlsim_fpga_write(0, 9, 1);  // the shadow says off: the write is sent
    EXPECT_NE(ZDQ_WhiteBalanceSet(0, 5), RET_SUCCESS);
    int nMode = -1;
    ASSERT_EQ(ZDQ_WhiteBalanceGet(0, &nMode), RET_SUCCESS);
    EXPECT_EQ(nMode, 3);
}

TEST_F(WhiteBalanceTest, PresetModeAppliesThePresetTables) {
    OpenColour();
    CallbackLog log;
    ASSERT_EQ(ZDQ_WhiteBalanceAutoSetCallBack(0, OnGains, &log), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 1), RET_SUCCESS);
    const std::vector<uint8_t> frame = CapturePatch(2, 0);
    const Rgb c = Centre(frame);
    const Rgb patch = ChartPatch(2, 0);
    // Preset 0 of the 2592 x 1944 family.
    EXPECT_EQ(c.r, Balanced(ChartByte(patch.r), 1.16406f));
    EXPECT_EQ(c.g, Balanced(ChartByte(patch.g), 1.0f));
    EXPECT_EQ(c.b, Balanced(ChartByte(patch.b), 1.46851f));
    EXPECT_EQ(log.nCalls, 1);
    EXPECT_FLOAT_EQ(log.fGains[2], 1.46851f);
    // A preset number without data is stored and keeps the gains.
    ASSERT_EQ(ZDQ_WhiteBalancePresettingSet(0, 7), RET_SUCCESS);
    int nPreset = -1;
    ASSERT_EQ(ZDQ_WhiteBalancePresettingGet(0, &nPreset), RET_SUCCESS);
    EXPECT_EQ(nPreset, 7);
    EXPECT_FLOAT_EQ(Gains()[0], 1.16406f);
    ASSERT_EQ(ZDQ_WhiteBalancePresettingSet(0, 1), RET_SUCCESS);
    EXPECT_FLOAT_EQ(Gains()[0], 1.31958f);
}

TEST_F(WhiteBalanceTest, AutomaticSearchBalancesTheGreySteps) {
    OpenColour(kFpgaWithoutColour);
    CallbackLog log;
    ASSERT_EQ(ZDQ_WhiteBalanceAutoSetCallBack(0, OnGains, &log), RET_SUCCESS);
    const struct {
        Rgb tint;
        Rgb gains;  // the inverse tint, the brightest channel's gain 1
    } kCases[] = {
        {{1, 1, 1}, {1, 1, 1}},
        {{1.25, 1, 0.8}, {1, 1.25, 1.5625}},
        {{0.8, 1, 1.25}, {1.5625, 1.25, 1}},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.tint.r);
        ASSERT_EQ(mlsim_set_illuminant(0, c.tint.r, c.tint.g, c.tint.b), 1);
        ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 2), RET_SUCCESS);
        CapturePatch(4, 0);
        const std::vector<float> gains = Gains();
        EXPECT_NEAR(gains[0], c.gains.r, 0.03);
        EXPECT_NEAR(gains[1], c.gains.g, 0.03);
        EXPECT_NEAR(gains[2], c.gains.b, 0.03);
        // The next frame of the grey step comes out grey.
        const Rgb balanced = Centre(CapturePatch(4, 0));
        EXPECT_NEAR(balanced.r, balanced.g, 2);
        EXPECT_NEAR(balanced.b, balanced.g, 2);
    }
    EXPECT_EQ(log.nCalls, 3) << "once per request";
    // No near-white pixel: the gains stay and the callback still fires.
    const std::vector<float> before = Gains();
    ASSERT_EQ(ZDQ_WhiteBalanceAutoSet(0, 100000), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 2), RET_SUCCESS);
    CapturePatch(4, 0);
    EXPECT_EQ(Gains(), before);
    EXPECT_EQ(log.nCalls, 4);
}

TEST_F(WhiteBalanceTest, FpgaModesActOnTheMosaic) {
    OpenColour();
    const Rgb patch = ChartPatch(3, 0);
    // Preset 1 of the FPGA: gains 1.5, 1, 1.25.
    ASSERT_EQ(ZDQ_WhiteBalancePresettingSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 5), RET_SUCCESS);
    Rgb c = Centre(CapturePatch(3, 0));
    EXPECT_EQ(c.r, ChartByte(patch.r * 1.5));
    EXPECT_EQ(c.g, ChartByte(patch.g));
    EXPECT_EQ(c.b, ChartByte(patch.b * 1.25));
    std::vector<float> gains = Gains();
    EXPECT_FLOAT_EQ(gains[0], 1.5f);
    EXPECT_FLOAT_EQ(gains[2], 1.25f);
    // Continuous: the FPGA's grey world follows the illuminant.
    ASSERT_EQ(mlsim_set_illuminant(0, 1.25, 1, 0.8), 1);
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 7), RET_SUCCESS);
    c = Centre(CapturePatch(3, 0));
    gains = Gains();
    EXPECT_FLOAT_EQ(gains[0], static_cast<int>(0.8 * 4096) / 4096.0f);
    EXPECT_FLOAT_EQ(gains[2], static_cast<int>(1.25 * 4096) / 4096.0f);
    EXPECT_NEAR(c.r, c.g, 1);
    EXPECT_NEAR(c.b, c.g, 1);
    // User gains.
    ASSERT_EQ(ZDQ_WhiteBalanceSet(0, 8), RET_SUCCESS);
    const float fUser[3] = {0.5f, 1.0f, 2.0f};
    ASSERT_EQ(ZDQ_WhiteBalanceMatrixSet(0, const_cast<float*>(fUser)), RET_SUCCESS);
    c = Centre(CapturePatch(3, 0));
    EXPECT_EQ(c.r, ChartByte(patch.r * 1.25 * 0.5));
    EXPECT_EQ(c.b, ChartByte(patch.b * 0.8 * 2.0));
}

TEST_F(WhiteBalanceTest, ConstructionFollowsTheFpgasColourRegister) {
    MlSimProfile profile = CameraProfile(kTypeColour2592);
    profile.fpga_version = kFpgaWithColour;
    Plug(0, profile);
    ASSERT_EQ(mlsim_fpga_write(0, 9, 2 * 8 + 1), 1);  // FPGA preset 2
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    int nMode = -1, nPreset = -1;
    ASSERT_EQ(ZDQ_WhiteBalanceGet(0, &nMode), RET_SUCCESS);
    ASSERT_EQ(ZDQ_WhiteBalancePresettingGet(0, &nPreset), RET_SUCCESS);
    EXPECT_EQ(nMode, 5);
    EXPECT_EQ(nPreset, 2);
    EXPECT_FLOAT_EQ(Gains()[2], 2.0f);
}

struct GainLoopLog {
    int nCalls = 0;
    bool bLastSuccess = false;
};

void OnGainStep(bool bSuccess, int, int, int, void* pContext) {
    GainLoopLog* pLog = static_cast<GainLoopLog*>(pContext);
    ++pLog->nCalls;
    pLog->bLastSuccess = bSuccess;
}

TEST_F(WhiteBalanceTest, GainLoopLowersEveryGainOnASaturatedRegion) {
    OpenColour(kFpgaWithoutColour);
    ASSERT_EQ(mlsim_set_illuminant(0, 8, 8, 8), 1);
    GainLoopLog log;
    ASSERT_EQ(ZDQ_AWBSetCallback(0, OnGainStep, &log), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AWBSetRegion(0, 0, 0, kWindow, kWindow), RET_SUCCESS);
    const int nStart[3] = {20, 24, 28};
    for (int c = 0; c < 3; ++c) {
        ASSERT_EQ(ZDQ_SetParam(0, static_cast<ZDQ_PARAM>(ZDQ_RED + c), nStart[c]), RET_SUCCESS);
    }
    ASSERT_EQ(ZDQ_AWBStart(0, true, 3, 180, 180, 180), RET_SUCCESS);
    for (int i = 0; i < 4; ++i) {
        CapturePatch(5, 0);
    }
    for (int c = 0; c < 3; ++c) {
        int nGain = 0;
        ASSERT_EQ(ZDQ_GetParam(0, static_cast<ZDQ_PARAM>(ZDQ_RED + c), &nGain), RET_SUCCESS);
        EXPECT_EQ(nGain, nStart[c] - 3) << "one step a frame, three steps";
    }
    EXPECT_EQ(log.nCalls, 4) << "three steps and the frame that ends the run";
    EXPECT_FALSE(log.bLastSuccess);
    CapturePatch(5, 0);
    EXPECT_EQ(log.nCalls, 4) << "the run has ended";
}

TEST_F(WhiteBalanceTest, GainLoopEndsAtOnceWhenTheTargetsAreMet) {
    OpenColour(kFpgaWithoutColour);
    GainLoopLog log;
    ASSERT_EQ(ZDQ_AWBSetCallback(0, OnGainStep, &log), RET_SUCCESS);
    const Rgb c = Centre(CapturePatch(1, 1));
    ASSERT_EQ(ZDQ_AWBStart(0, true, 10, static_cast<int>(c.r), static_cast<int>(c.g),
                           static_cast<int>(c.b)),
              RET_SUCCESS);
    CapturePatch(1, 1);
    EXPECT_EQ(log.nCalls, 1);
    EXPECT_TRUE(log.bLastSuccess);
}

TEST_F(WhiteBalanceTest, MonochromeCamerasAnswerNotSupported) {
    Open(kTypeMono2592);
    int n = 0;
    bool b = false;
    float f[9] = {};
    EXPECT_EQ(ZDQ_AWBSetRegion(0, 0, 0, 8, 8), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_AWBGetRegion(0, &n, &n, &n, &n, &b), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_AWBShowRegion(0, true), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_AWBSetCallback(0, OnGainStep, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_AWBStart(0, true, 1, 1, 1, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceSet(0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceGet(0, &n), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceAutoSet(0, 5), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceAutoGet(0, &n), RET_NOTSUPPORT);
    EXPECT_EQ(n, 5) << "the threshold is stored and read also here";
    EXPECT_EQ(ZDQ_WhiteBalanceAutoGet(0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(ZDQ_WhiteBalanceMatrixSet(0, f), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceMatrixGet(0, f), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceAutoSetCallBack(0, OnGains, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalanceAutoSetCallBackEx(0, nullptr, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalancePresettingSet(0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_WhiteBalancePresettingGet(0, &n), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionSet(0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionGet(0, &n), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionPresettingSet(0, 1), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionPresettingGet(0, &n), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionMatrixSet(0, f), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectionMatrixGet(0, f), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectSetCallback(0, nullptr, nullptr), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectSet(0, 1, 180, 180, 180), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_ColorCorrectGet(0, &n), RET_SUCCESS) << "answers for every sensor";
    EXPECT_EQ(ZDQ_IsColorCorrectTableLoad(0, &b), RET_SUCCESS);
    int nMin = 1, nMax = 1;
    EXPECT_EQ(ZDQ_ProcessSaturationGetRange(0, &nMin, &nMax), RET_NOTSUPPORT);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 0);
}

}  // namespace
