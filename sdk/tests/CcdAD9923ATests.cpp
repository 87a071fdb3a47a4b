// CCD cameras through the AD9923A front end: start-up values, gains and
// their parameters, the exposure split into frames and a shutter position
// (inverted where the camera counts it from the other end), the fixed
// window and the strobe, against the simulated front end.
#include <cmath>

#include "OpenedCamera.h"
#include "capability/CapabilityPresets.h"
#include "sensors/CcdAD9923A.h"

namespace {

constexpr uint8_t kWrFrontEnd = 0x27;

uint32_t FrontEnd(uint16_t wRegister) {
    uint32_t nValue = 0;
    EXPECT_EQ(mlsim_ad9923a_read(0, wRegister, &nValue), 1);
    return nValue;
}

size_t FrontEndWrites() {
    size_t n = 0;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        n += entry.request == kWrFrontEnd ? 1 : 0;
    }
    return n;
}

struct FpgaHost : ISensorHost {
    int FpgaWrite(int, uint16_t, uint8_t*) override { return RET_SUCCESS; }
    uint16_t FpgaShadow(int) const override { return 0; }
    int EmptyCameraFrameBuffer() override { return RET_SUCCESS; }
    uint16_t FirmwareVersionWord() const override { return 0x0100; }
    uint16_t FpgaVersionWord() const override { return 0x0100; }
    void SettleSensor(uint32_t) override {}
};

class CcdUnitTest : public SimTest {
  protected:
    CCcdAD9923A& PlugAndInit(int nType) {
        Plug(0, CameraProfile(nType));
        SetModelCapability(layers.capability, nType, CapVersion::FromWord(0x0100));
        EXPECT_EQ(layers.transport.Open(), RET_SUCCESS);
        unit = std::make_unique<CCcdAD9923A>(layers.vendor, layers.capability, state, host, nType);
        EXPECT_EQ(unit->Init(), RET_SUCCESS);
        return *unit;
    }

    CameraLayers layers;
    SensorState state;
    FpgaHost host;
    std::unique_ptr<CCcdAD9923A> unit;
};

TEST_F(CcdUnitTest, InitWritesTheStartUpValuesAndKeepsThem) {
    CCcdAD9923A& ccd = PlugAndInit(50);
    EXPECT_EQ(FrontEnd(5), 180u);
    EXPECT_EQ(FrontEnd(6), 0u);
    EXPECT_EQ(FrontEnd(4), 1u);
    EXPECT_EQ(FrontEnd(99), 0x1000u);
    EXPECT_EQ(FrontEnd(100), 0x1000u);
    int nGain = 0;
    ASSERT_EQ(ccd.GetGain(CSensorUnit::GainColour::Red, &nGain), RET_SUCCESS);
    EXPECT_EQ(nGain, 180);
    EXPECT_EQ(state.roi.nMaxWidth, 1360);
    EXPECT_EQ(state.roi.nMinWidth, 1360);
}

TEST_F(CcdUnitTest, VgaGainClampsKeepsItsUpperBitsAndIsSentOnce) {
    CCcdAD9923A& ccd = PlugAndInit(46);
    ASSERT_EQ(ccd.WrReg(5, 0xC00 | 10), RET_SUCCESS);
    for (const auto& [nGain, nSent] : {std::pair{0, 0xC01u}, {5000, 0xFFFu}, {300, 0xD2Cu}}) {
        ASSERT_EQ(ccd.SetFrontEnd(CSensorUnit::FrontEnd::VgaGain, nGain), RET_SUCCESS);
        EXPECT_EQ(FrontEnd(5), nSent) << nGain;
    }
    mlsim_journal_clear(0);
    ASSERT_EQ(ccd.SetFrontEnd(CSensorUnit::FrontEnd::VgaGain, 77), RET_SUCCESS);
    ASSERT_EQ(ccd.SetFrontEnd(CSensorUnit::FrontEnd::VgaGain, 77), RET_SUCCESS);
    EXPECT_EQ(FrontEndWrites(), 1u);
    EXPECT_EQ(ccd.WrReg(7, 1), RET_NOTSUPPORT);
}

TEST_F(CcdUnitTest, InvertedShutterPositionIsSentAsALineNumberAndKeptAsTheField) {
    CCcdAD9923A& ccd = PlugAndInit(48);
    ASSERT_TRUE(layers.capability.Has(FirmwareCap::bmSubCkNumInvert));
    ASSERT_EQ(ccd.WrReg(100, 100u << 12), RET_SUCCESS);
    EXPECT_EQ(FrontEnd(100), 1393u);
    EXPECT_EQ(ccd.Shadow(100), 100u << 12);
}

TEST_F(CcdUnitTest, ExposureSplitsIntoFramesAndAShutterField) {
    const struct {
        int nType, nLines;
        uint32_t nFrames, nField;
    } kCases[] = {
        {50, 5000, 4, 340},       // 5 x 1068 - 340
        {46, 0, 0, 1068},         // no exposure
        {50, 1068, 1, 1068},      // whole frames
        {50, 0x42C000, 4095, 1},  // the top: N x 4096 - 1 lines
        {90, -7, 0, 2136},        // a negative count is none
    };
    for (const auto& c : kCases) {
        CCcdAD9923A& ccd = PlugAndInit(c.nType);
        ASSERT_EQ(ccd.SetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(ccd.Shadow(99), c.nFrames) << c.nLines;
        EXPECT_EQ((ccd.Shadow(100) >> 12) & 0xFFF, c.nField) << c.nLines;
        int nLines = 0;
        ASSERT_EQ(ccd.GetExposureLines(&nLines), RET_SUCCESS);
        const uint32_t N = c.nType == 90 ? 2136 : 1068;
        EXPECT_EQ(nLines, static_cast<int>((c.nFrames + 1) * N - c.nField));
        layers.transport.Close();
        mlsim_unplug_all();
    }
}

class CcdTest : public OpenedCameraTest {};

TEST_F(CcdTest, ParametersOfTheFrontEnd) {
    Open(49);
    const struct {
        ZDQ_PARAM param;
        int nMin, nMax;
    } kRanges[] = {{ZDQ_RED, 1, 1023},     {ZDQ_GREEN, 0, 1023},      {ZDQ_BLUE, 0, 3},
                   {ZDQ_VGAGAIN, 1, 1023}, {ZDQ_CLAMPLEVEL, 0, 1023}, {ZDQ_CDSGAIN, 0, 3}};
    for (const auto& r : kRanges) {
        int nMin = -1, nMax = -1;
        ASSERT_EQ(ZDQ_GetParamRange(0, r.param, &nMin, &nMax), RET_SUCCESS) << r.param;
        EXPECT_EQ(nMin, r.nMin);
        EXPECT_EQ(nMax, r.nMax);
    }
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_CLAMPLEVEL, 2000), RET_SUCCESS);
    EXPECT_EQ(FrontEnd(6), 1023u);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 9), RET_SUCCESS);
    EXPECT_EQ(FrontEnd(4), 3u);
    int nValue = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_CDSGAIN, &nValue), RET_SUCCESS);
    EXPECT_EQ(nValue, 3);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_GREEN, &nValue), RET_SUCCESS);
    EXPECT_EQ(nValue, 1023);
}

TEST_F(CcdTest, FrontEndParametersAreNotSupportedElsewhere) {
    Open(kTypeMono1280);
    int nMin = 0, nMax = 0, nValue = 0;
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_VGAGAIN, 5), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GetParam(0, ZDQ_CLAMPLEVEL, &nValue), RET_NOTSUPPORT);
    EXPECT_EQ(ZDQ_GetParamRange(0, ZDQ_CDSGAIN, &nMin, &nMax), RET_NOTSUPPORT);
    ASSERT_EQ(ZDQ_GetParamRange(0, ZDQ_BLUE, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 47) << "the sensor's gain range";
}

TEST_F(CcdTest, WindowsClampToTheFixedWindowAndFramesCarryTheExposure) {
    for (int nType : {46, 48, 51, 91}) {
        Open(nType);
        CCcdAD9923A::Model model{};
        ASSERT_TRUE(CCcdAD9923A::ModelOf(nType, model));
        ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 100, 100, 640, 480, 0, 0), RET_SUCCESS);
        int nWidth = 0, nHeight = 0;
        ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
        EXPECT_EQ(nWidth, model.nWidth);
        EXPECT_EQ(nHeight, model.nHeight);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 250), RET_SUCCESS);
        std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
        ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(0, &info), 1);
        EXPECT_EQ(info.width, model.nWidth);
        EXPECT_EQ(info.height, model.nHeight);
        float fMs = 0;
        ASSERT_EQ(ZDQ_ExposureTimeGet(0, &fMs), RET_SUCCESS);
        EXPECT_NEAR(info.exposure_ms, fMs, fMs * 1e-4) << nType;
        EXPECT_NEAR(fMs, 250.0f, 0.1f);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(CcdTest, StrobeThroughTheWorkingModeOnTypes46And47Only) {
    Open(47);
    ASSERT_EQ(ZDQ_FlashEnableSet(0, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_FlashInvertSet(0, 1), RET_SUCCESS);
    uint16_t wMode = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 0, &wMode), 1);
    EXPECT_EQ(wMode & 0x6000, 0x6000);
    ZDQ_UnInit();
    mlsim_unplug_all();
    Open(50);
    EXPECT_EQ(ZDQ_FlashEnableSet(0, 1), RET_NOTSUPPORT);
}

}  // namespace

namespace {

TEST_F(CcdUnitTest, RestoreWritesTheShadowsInItsOrderWithTheShutterAsSent) {
    CCcdAD9923A& ccd = PlugAndInit(47);
    ASSERT_EQ(ccd.SetExposureLines(5000), RET_SUCCESS);
    ASSERT_EQ(ccd.SetFrontEnd(CSensorUnit::FrontEnd::VgaGain, 321), RET_SUCCESS);
    mlsim_journal_clear(0);
    ASSERT_EQ(ccd.RestoreRegisters(), RET_SUCCESS);
    std::vector<std::pair<uint16_t, uint32_t>> writes;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (entry.request == kWrFrontEnd) {
            writes.emplace_back(static_cast<uint16_t>(entry.data[0] | entry.data[1] << 8),
                                static_cast<uint32_t>(entry.data[2] | entry.data[3] << 8 |
                                                      entry.data[4] << 16 | entry.data[5] << 24));
        }
    }
    // 5000 = 4 x 1068 + 728: the shutter line 728 counted from the start.
    const std::vector<std::pair<uint16_t, uint32_t>> expected = {
        {5, 321}, {6, 0}, {4, 1}, {100, 728}, {99, 4}};
    EXPECT_EQ(writes, expected);
}

}  // namespace
