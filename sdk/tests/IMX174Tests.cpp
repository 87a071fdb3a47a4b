// The IMX174 unit against the simulated chip: byte registers with masked top
// registers, the write-through rule, the multi-frame exposure split, the line
// and frame length rules, the window check, strobe, gain and restore.
#include <cmath>
#include <future>
#include <utility>

#include "ByteRegisterTestSupport.h"
#include "ZDQApi.h"
#include "sensors/IMX174.h"

namespace {

uint32_t ChipShs() {
    return Chip(0x29A, 2, 0xFFF);
}
uint32_t ChipSvs() {
    return Chip(0x29C, 2, 0xFFFF);
}
uint32_t ChipVmax() {
    return Chip(0x217, 2, 0xFFF);
}
uint32_t ChipHmax() {
    return Chip(0x21A, 2, 0xFFFF);
}

class IMX174Test : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        Plug(0, CameraProfile(kType));
        SetModelCapability(layers.capability, kType, CapVersion{1, 0});
        ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
    }

    std::unique_ptr<CIMX174> MakeUnit(int nType) {
        return std::make_unique<CIMX174>(layers.vendor, layers.capability, layers.pLog, state,
                                         layers.transport.BusLock(), nType);
    }

    static constexpr int kType = 86;
    CameraLayers layers{"imx174.log"};
    SensorState state;
    std::unique_ptr<CIMX174> unit = MakeUnit(kType);
};

TEST_F(IMX174Test, InitReadsTheListKeepsTheLowBytesAndLogsTheDump) {
    mlsim_journal_clear(0);
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    std::vector<uint16_t> order;
    for (const auto& request : SensorRequests(kRdSensorX)) {
        order.push_back(request.first);
    }
    EXPECT_EQ(order, (std::vector<uint16_t>{0x21A, 0x21B, 0x217, 0x218, 0x29A, 0x29B, 0x29C,
                                            0x29D, 0x404, 0x405, 0x458, 0x459, 0x301, 0x302,
                                            0x303, 0x304, 0x305, 0x306, 0x307, 0x308, 0x22F,
                                            0x232, 0x276, 0x277, 0x278, 0x27A, 0x27B, 0x216}));
    // The chip's reads carry a high byte and unused set bits in the top
    // registers; the shadow values hold only the quantities' bits.
    EXPECT_EQ(unit->Hmax(), 1000u);
    EXPECT_EQ(unit->Vmax(), 1254u);
    EXPECT_EQ(unit->Lines(), 100);
    EXPECT_EQ(state.roi.nMaxWidth, 1936);
    EXPECT_EQ(state.roi.nMinWidth, 96);
    EXPECT_EQ(state.roi.nMinHeight, 2);
    EXPECT_NEAR(state.fExposureTime, 1000.0 * 100 / 99000.0, 1e-5);
    // The strobe pulse follows the exposure from the start.
    EXPECT_EQ(Chip(0x27A, 2, 0xFFFF), 100u);

    const std::string log = layers.LogText();
    EXPECT_NE(log.find("ZDQAPI::++++ZDQLOG_OUTPUT_IMX174_RELATE_REG_VALUE++++."),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::IMX174REG_HMAX:             0x03e8"), std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::IMX174REG_VIRTUAL_SVS:      0x0000"), std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::IMX174REG_TRIG_TOUT_SEL:    0x"), std::string::npos);
    const size_t nEnd = log.find("ZDQAPI::----ZDQLOG_OUTPUT_IMX174_RELATE_REG_VALUE----.");
    ASSERT_NE(nEnd, std::string::npos);
    const size_t nRule = log.find(std::string(59, '='), nEnd);
    ASSERT_NE(nRule, std::string::npos);
    EXPECT_EQ(log.find("ZDQAPI", nEnd + 8), std::string::npos) << "the rule ends the block";
}

TEST_F(IMX174Test, ExposureSplitsIntoWholeFramesAndAShutterLine) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    ASSERT_EQ(unit->Vmax(), 1254u);  // height 1216 + 38
    struct Case {
        int64_t nLines;
        uint32_t nSvs, nShs;
        int64_t nApplied;
    } const cases[] = {
        {100, 0, 1154, 100}, {2508, 1, 0, 2508}, {2509, 2, 1253, 2509},
        {0, 0, 1253, 1},     {-7, 0, 1253, 1},   {1254LL * 65536 + 5, 65535, 0, 1254LL * 65536},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(unit->SetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(ChipSvs(), c.nSvs) << c.nLines;
        EXPECT_EQ(ChipShs(), c.nShs) << c.nLines;
        EXPECT_EQ(unit->Lines(), c.nApplied);
        EXPECT_EQ(Chip(0x27A, 2, 0xFFFF), std::min<int64_t>(c.nApplied, 0xFFFF));
        EXPECT_NEAR(state.fExposureTime, 1000.0 * static_cast<double>(c.nApplied) / 99000.0,
                    state.fExposureTime * 1e-6);
    }
}

TEST_F(IMX174Test, WritesEqualToTheShadowInTheKeptBitsSendNothing) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(unit->WriteRegister(0x21A, 0xE8), RET_SUCCESS);  // as read
    EXPECT_EQ(unit->WriteRegister(0x218, 0x04), RET_SUCCESS);  // read 0x34: bits 4-7 unused
    EXPECT_EQ(unit->WriteRegister(0x405, 0x00), RET_SUCCESS);  // read 0xFE: only bit 0 counts
    EXPECT_TRUE(SensorRequests(kWrSensorX).empty());
    EXPECT_EQ(unit->WriteRegister(0x1234, 1), RET_NOTSUPPORT);
    uint8_t bChanged = 0;
    EXPECT_EQ(unit->WriteRegister(0x458, 0x40, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 1);
    EXPECT_EQ(SensorRequests(kWrSensorX),
              (std::vector<std::pair<uint16_t, uint16_t>>{{0x458, 0x40}}));
}

TEST_F(IMX174Test, LineLengthFollowsTheWidthByType) {
    struct Case {
        int nType, nWidth;
        uint32_t nHmax;
    } const cases[] = {{92, 1936, 1952}, {92, 200, 608},   {86, 1936, 992},
                       {86, 1160, 608},  {106, 1936, 608}, {107, 400, 608}};
    for (const Case& c : cases) {
        auto typed = MakeUnit(c.nType);
        ASSERT_EQ(typed->Init(), RET_SUCCESS);
        // Width first to another value: the line length follows a change.
        ASSERT_EQ(typed->SetFov(0, 0, 1000, 1216, 0, 0, nullptr), RET_SUCCESS);
        ASSERT_EQ(typed->SetFov(0, 0, c.nWidth, 1216, 0, 0, nullptr), RET_SUCCESS);
        EXPECT_EQ(ChipHmax(), c.nHmax) << c.nType << " " << c.nWidth;
        EXPECT_EQ(typed->Hmax(), c.nHmax);
    }
}

TEST_F(IMX174Test, AHeightChangeRewritesTheFrameAndKeepsTheExposureTime) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    ASSERT_EQ(unit->SetExposureTime(30.0f), RET_SUCCESS);
    const int64_t nLines = std::llround(30.0 / (1000 / 99000.0));
    EXPECT_EQ(unit->Lines(), nLines);
    uint8_t bChanged = 0;
    ASSERT_EQ(unit->SetFov(0, 0, 1936, 600, 0, 0, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 1);
    EXPECT_EQ(ChipVmax(), 638u);
    EXPECT_EQ(unit->Lines(), nLines);
    EXPECT_EQ((ChipSvs() + 1) * 638 - ChipShs(), nLines);
    // The window, unchanged, changes nothing.
    mlsim_journal_clear(0);
    bChanged = 7;
    ASSERT_EQ(unit->SetFov(0, 0, 1936, 600, 0, 0, &bChanged), RET_SUCCESS);
    EXPECT_EQ(bChanged, 0);
    EXPECT_TRUE(SensorRequests(kWrSensorX).empty());
}

TEST_F(IMX174Test, WindowCheckAlignsClampsAndLimitsTheFramesPerTransfer) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    struct Case {
        int nCol, nRow, nWidth, nHeight;
        bool b16;
        uint16_t wFrames;
        int nColOut, nRowOut, nWidthOut, nHeightOut;
        uint16_t wFramesOut;
    } const cases[] = {
        {10, 0, 1930, 1216, false, 100, 0, 0, 1936, 1216, 7},
        {0, 0, 1936, 1216, true, 100, 0, 0, 1936, 1216, 3},
        {3, 5, 801, 1, false, 0, 8, 6, 808, 2, 1},
        {-50, INT32_MAX, INT32_MAX, INT32_MAX, false, 1, 0, 0, 1936, 1216, 1},
        {INT32_MIN, 0, INT32_MIN, 600, false, 1, 0, 0, 96, 600, 1},
    };
    for (const Case& c : cases) {
        int nCol = c.nCol, nRow = c.nRow, nWidth = c.nWidth, nHeight = c.nHeight;
        uint16_t wFrames = c.wFrames;
        EXPECT_EQ(unit->CheckFov(nCol, nRow, nWidth, nHeight, 0, 0, &wFrames, c.b16), RET_SUCCESS);
        EXPECT_EQ(nCol, c.nColOut);
        EXPECT_EQ(nRow, c.nRowOut);
        EXPECT_EQ(nWidth, c.nWidthOut);
        EXPECT_EQ(nHeight, c.nHeightOut);
        EXPECT_EQ(wFrames, c.wFramesOut);
    }
    int nCol = 0, nRow = 0, nWidth = 800, nHeight = 600;
    ASSERT_FALSE(layers.capability.Has(SensorCap::bmSkip2));
    EXPECT_EQ(unit->CheckFov(nCol, nRow, nWidth, nHeight, 1, 0, nullptr, false), RET_NOTSUPPORT);
}

TEST_F(IMX174Test, GainClampsAndStrobeAndOrientationUseTheirBits) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    for (const auto& c : {std::pair<int, uint32_t>{1000, 480}, {-5, 0}, {300, 300}}) {
        EXPECT_EQ(unit->SetGain(CSensorUnit::GainColour::Green, c.first), RET_SUCCESS);
        EXPECT_EQ(Chip(0x404, 2, 0x1FF), c.second);
        int nGain = -1;
        EXPECT_EQ(unit->GetGain(CSensorUnit::GainColour::Red, &nGain), RET_SUCCESS);
        EXPECT_EQ(nGain, static_cast<int>(c.second));
    }
    bool bOn = true;
    EXPECT_EQ(unit->GetStrobeEnable(&bOn), RET_SUCCESS);
    EXPECT_FALSE(bOn);
    EXPECT_EQ(unit->SetStrobeEnable(true), RET_SUCCESS);
    EXPECT_EQ(Chip(0x22F, 1, 0x03), 3u);
    EXPECT_EQ(Chip(0x232, 1, 0x07), 1u);
    EXPECT_EQ(Chip(0x276, 1, 0x02), 2u);
    EXPECT_EQ(unit->GetStrobeEnable(&bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_EQ(unit->SetStrobeInvert(true), RET_SUCCESS);
    EXPECT_EQ(Chip(0x276, 1, 0x06), 6u);
    EXPECT_EQ(unit->SetStrobeEnable(false), RET_SUCCESS);
    EXPECT_EQ(Chip(0x276, 1, 0x06), 4u);
    EXPECT_EQ(unit->SetFlip(true), RET_SUCCESS);
    EXPECT_EQ(unit->SetMirror(true), RET_SUCCESS);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.flip, 1);
    EXPECT_EQ(info.mirror, 1);
}

TEST_F(IMX174Test, RestoreRewritesEveryShadowedRegisterInOrder) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    ASSERT_EQ(unit->SetExposureLines(5000), RET_SUCCESS);
    ASSERT_EQ(unit->SetFov(16, 8, 1024, 768, 0, 0, nullptr), RET_SUCCESS);
    // A power cycle: every register back at its power-on value.
    const std::vector<uint16_t> order = {0x21A, 0x21B, 0x217, 0x218, 0x29A, 0x29B, 0x29C,
                                         0x29D, 0x404, 0x405, 0x458, 0x459, 0x301, 0x302,
                                         0x303, 0x304, 0x305, 0x306, 0x307, 0x308, 0x22F,
                                         0x232, 0x276, 0x277, 0x278, 0x27A, 0x27B, 0x216};
    for (uint16_t wAddress : order) {
        mlsim_sensor_write(0, wAddress, 0x5A);
    }
    mlsim_journal_clear(0);
    ASSERT_EQ(unit->RestoreRegisters(), RET_SUCCESS);
    const auto writes = SensorRequests(kWrSensorX);
    ASSERT_EQ(writes.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(writes[i].first, order[i]);
        const uint16_t wMask = order[i] == 0x29B                        ? 0x0F
                               : order[i] == 0x405 || order[i] == 0x459 ? 0x01
                                                                        : 0xFF;
        EXPECT_EQ(writes[i].second, unit->Byte(order[i]) & wMask) << std::hex << order[i];
    }
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.window_width, 1024);
    EXPECT_EQ(info.window_height, 768);
    // The window made HMAX 608: the 5000 lines of 1000 clocks became 8224.
    EXPECT_EQ(unit->Lines(), 8224);
    EXPECT_EQ((ChipSvs() + 1) * ChipVmax() - ChipShs(), 8224u);
}

TEST_F(IMX174Test, AFailedExposureWriteIsReturnedAndTheBusLockIsLeft) {
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    const uint32_t nShsBefore = ChipShs();
    // Every write after the first (VIRTUAL_SVS low) fails: its strobe
    // follow-up, whose result is not the setter's, and then SHS low.
    mlsim_fault_add(0, MLSIM_FAULT_STATUS, kWrSensorX, 1, -1, 1);
    const int nRet = unit->SetExposureLines(3000);
    EXPECT_NE(nRet, RET_SUCCESS);
    EXPECT_EQ(ChipShs(), nShsBefore);
    EXPECT_EQ(ChipSvs(), 2u) << "the frame count was written before the failure";
    auto other = std::async(std::launch::async, [this] {
        const bool bFree = layers.transport.BusLock().TryEnter();
        if (bFree) {
            layers.transport.BusLock().Leave();
        }
        return bFree;
    });
    EXPECT_TRUE(other.get());
    // Once the bus answers again the split completes.
    mlsim_fault_clear(0);
    EXPECT_EQ(unit->SetExposureLines(3000), RET_SUCCESS);
    EXPECT_EQ(unit->Lines(), 3000);
}

TEST_F(IMX174Test, TimingRegistersThatReadZeroNeverDivide) {
    for (uint16_t wAddress : {0x21A, 0x21B, 0x217, 0x218}) {
        mlsim_sensor_write(0, wAddress, 0);
    }
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    EXPECT_EQ(unit->ExposureTimeToLines(5.0f), 1);
    EXPECT_EQ(unit->ExposureLinesToTime(100), 0.0f);
    EXPECT_EQ(unit->SetExposureLines(100), RET_SUCCESS);
    EXPECT_EQ(ChipSvs(), 99u) << "a frame length of 0 counts as one line";
    EXPECT_EQ(ChipShs(), 0u);
    EXPECT_EQ(unit->SetExposureTime(3.0f), RET_SUCCESS);
    int nMin = 0, nMax = 0;
    EXPECT_EQ(unit->GetExposureLinesRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 65536);
}

}  // namespace
