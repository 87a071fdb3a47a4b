// MT9V034 cameras opened through ZDQ_Init: gains, blanking, companding,
// windows, strobe and the chip's own exposure and gain engines, checked
// against the simulated chip's registers and frames.
#include <cmath>

#include "OpenedCamera.h"
#include "capability/CapabilityPresets.h"
#include "sensors/MT9V034.h"

namespace {

constexpr uint16_t kWidth = 0x04, kHBlank = 0x05, kVBlank = 0x06, kShutter = 0x0B;
constexpr uint16_t kReadMode = 0x0D, kLedOut = 0x1B, kAdc = 0x1C, kGain = 0x35;
constexpr uint16_t kMaxGain = 0xAB, kEnable = 0xAF, kDesired = 0xA5;

uint16_t ChipRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1) << std::hex << wAddress;
    return wValue;
}

class MT9V034Test : public OpenedCameraTest {
  protected:
    void CaptureFrames(int nFrames) {
        int nWidth = 0, nHeight = 0;
        ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
        std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
        for (int i = 0; i < nFrames; ++i) {
            ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        }
    }
};

TEST_F(MT9V034Test, OpensWithTheEnginesOffAndAnalogControlsBit7Set) {
    Open(28);
    EXPECT_EQ(ChipRegister(kEnable) & 3, 0);
    EXPECT_EQ(ChipRegister(0xC2) & 0x80, 0x80);
}

TEST_F(MT9V034Test, GainsAndBlankingClamp) {
    Open(29);
    const struct {
        int nParam, nValue;
        uint16_t wAddress, wWritten;
    } kCases[] = {
        {ZDQ_RED, 60, kGain, 64},
        {ZDQ_GREEN, 0, kGain, 16},
        {ZDQ_BLUE, -3, kGain, 16},
        {ZDQ_RED, 20, kGain, 36},
        {ZDQ_HORIZONTALBLANK, 10, kHBlank, 61},
        {ZDQ_HORIZONTALBLANK, 5000, kHBlank, 1023},
        {ZDQ_VERTICALBLANK, 1, kVBlank, 3},
        {ZDQ_VERTICALBLANK, 40000, kVBlank, 32288},
    };
    for (const auto& c : kCases) {
        ASSERT_EQ(ZDQ_SetParam(0, static_cast<ZDQ_PARAM>(c.nParam), c.nValue), RET_SUCCESS);
        EXPECT_EQ(ChipRegister(c.wAddress), c.wWritten) << c.nParam << " " << c.nValue;
    }
    int nGain = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_BLUE, &nGain), RET_SUCCESS);
    EXPECT_EQ(nGain, 20);
}

TEST_F(MT9V034Test, ExposureKeepsItsTimeWhenTheLineChanges) {
    CDevice& device = Open(36);
    const double T = device.Capability().T;
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 10), RET_SUCCESS);
    const auto expectedLines = [&] {
        const double fLine = (ChipRegister(kWidth) + ChipRegister(kHBlank)) * T;
        return static_cast<uint16_t>(10.0 / fLine + 0.5);
    };
    EXPECT_EQ(ChipRegister(kShutter), expectedLines());
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_HORIZONTALBLANK, 61), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kShutter), expectedLines());
    // Binning by 4 makes the chip raise its blanking; the unit reads it back
    // and re-derives the lines of 10 ms.
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 400, 200, 3, 3), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kHBlank), 91);
    int nBlank = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_HORIZONTALBLANK, &nBlank), RET_SUCCESS);
    EXPECT_EQ(nBlank, 91);
    EXPECT_EQ(ChipRegister(kShutter), expectedLines());
    MlSimFrameInfo info{};
    CaptureFrames(1);
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, 100);
    EXPECT_EQ(info.height, 50);
}

TEST_F(MT9V034Test, CompandingAndItsRange) {
    Open(60);
    int nMin = -1, nMax = -1, nOn = -1;
    ASSERT_EQ(ZDQ_GetParamRange(0, ZDQ_COMPANDING, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_COMPANDING, 1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kAdc) & 3, 3);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_COMPANDING, &nOn), RET_SUCCESS);
    EXPECT_EQ(nOn, 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_COMPANDING, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kAdc) & 3, 2);
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_COMPANDING, &nOn), RET_SUCCESS);
    EXPECT_EQ(nOn, 0);
    int nBin = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_BIN, &nBin), RET_SUCCESS);
    EXPECT_EQ(nBin, 1);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_BIN, 0), RET_NOTSUPPORT);
}

TEST_F(MT9V034Test, StrobeGetterReportsWhatTheSetterMade) {
    Open(61);
    for (bool bOn : {true, false, true}) {
        ASSERT_EQ(ZDQ_FlashEnableSet(0, bOn ? 1 : 0), RET_SUCCESS);
        EXPECT_EQ((ChipRegister(kLedOut) & 1) == 0, bOn);
        unsigned char byRead = bOn ? 0 : 1;
        ASSERT_EQ(ZDQ_FlashEnableGet(0, &byRead), RET_SUCCESS);
        EXPECT_EQ(byRead != 0, bOn);
    }
}

TEST_F(MT9V034Test, RowModeServesBothDirections) {
    Open(36);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 752, 480, 1, 1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kReadMode) & 0x0F, 0x05);
    CaptureFrames(1);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, 376);
    EXPECT_EQ(info.height, 240);
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 752, 480, 0, 1), RET_PARAMERROR);
}

// The simulated chip's engines settle where the scene's level (rows x gain
// code / 64) meets its wanted level.
TEST_F(MT9V034Test, ExposureEngineConvergesAndHandsItsExposureBack) {
    Open(28);
    const int nDesired = ChipRegister(kDesired);
    ASSERT_EQ(ZDQ_AECSetRange(0, 0, 5000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0xAD), 2047);
    EXPECT_EQ(ChipRegister(0xAC), 1);
    ASSERT_EQ(ZDQ_AECSetEnable(0, true), RET_SUCCESS);
    CaptureFrames(20);
    const uint16_t wGoal = static_cast<uint16_t>(nDesired * 64 / 16);
    unsigned short usCur = 0;
    ASSERT_EQ(ZDQ_AECGetCur(0, &usCur), RET_SUCCESS);
    EXPECT_EQ(usCur, wGoal);
    ASSERT_EQ(ZDQ_AECSetEnable(0, false), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kShutter), wGoal);
    int nLines = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
    EXPECT_EQ(nLines, wGoal);
}

TEST_F(MT9V034Test, GainEngineRefusesManualGainAndConverges) {
    Open(37);
    ASSERT_EQ(ZDQ_AGCSetRange(0, 0, 100), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kMaxGain), 64);
    unsigned short usMin = 0, usMax = 0;
    ASSERT_EQ(ZDQ_AGCGetRange(0, &usMin, &usMax), RET_SUCCESS);
    EXPECT_EQ(usMin, 16);
    EXPECT_EQ(usMax, 48);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 100), RET_SUCCESS);
    ASSERT_EQ(ZDQ_AGCSetEnable(0, true), RET_SUCCESS);
    bool bOn = false;
    ASSERT_EQ(ZDQ_AGCGetEnable(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_RED, 5), RET_ILLEGALOPERATION);
    CaptureFrames(20);
    const int nGoalCode = std::clamp(static_cast<int>(ChipRegister(kDesired)) * 64 / 100, 16, 64);
    unsigned short usCur = 0;
    ASSERT_EQ(ZDQ_AGCGetCur(0, &usCur), RET_SUCCESS);
    EXPECT_EQ(usCur, nGoalCode - 16);
    ASSERT_EQ(ZDQ_AGCSetEnable(0, false), RET_SUCCESS);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_RED, 5), RET_SUCCESS);
}

TEST_F(MT9V034Test, Type37FpgaVersionByteGivesVersion7Point4) {
    for (const auto& [nType, wReported] : {std::pair{37, 0x0704}, {36, 0x0104}}) {
        MlSimProfile profile = CameraProfile(nType);
        profile.fpga_version = 0x0104;  // version byte 48: bits 2-4 hold 4
        Open(profile);
        int nType2 = 0, nSerial = 0;
        unsigned short wFirmware = 0, wFpga = 0;
        ASSERT_EQ(ZDQ_DeviceGetInformationEx(0, &nType2, &nSerial, &wFirmware, &wFpga),
                  RET_SUCCESS);
        EXPECT_EQ(wFpga, wReported) << nType;
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

}  // namespace

namespace {

// The unit alone over the simulated chip, with a device log.
TEST(MT9V034UnitTest, DumpFollowsAnalogControlsAndWritesAreLogged) {
    mlsim_unplug_all();
    const MlSimProfile profile = CameraProfile(28);
    ASSERT_EQ(mlsim_plug(0, &profile), 1);
    CameraLayers layers{"mt9v034-unit.log"};
    SetModelCapability(layers.capability, 28, CapVersion::FromWord(0x0100));
    ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
    SensorState state;
    CMT9V034 unit(layers.vendor, layers.capability, layers.pLog, state);
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    ASSERT_EQ(unit.SetHorizontalBlank(100), RET_SUCCESS);
    const std::string log = layers.LogText();
    const size_t nStart = log.find("ZDQAPI::++++ZDQLOG_OUTPUT_MT9V034_RELATE_REG_VALUE++++.");
    ASSERT_NE(nStart, std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::MT9V034REG_ROW_START_CONTEXTA:                  0x0004", nStart),
              std::string::npos);
    // The dump shows ANALOG_CONTROLS with bit 7 already set.
    EXPECT_NE(log.find("ZDQAPI::MT9V034REG_ANALOG_CONTROLS:                     0x0198", nStart),
              std::string::npos);
    const size_t nEnd = log.find("ZDQAPI::----ZDQLOG_OUTPUT_MT9V034_RELATE_REG_VALUE----.");
    ASSERT_NE(nEnd, std::string::npos);
    EXPECT_NE(log.find(std::string(59, '='), nEnd), std::string::npos);
    EXPECT_NE(
        log.find("ZDQAPI::--MT9V034_Sensor_WrRelatedRegValue:   Address: 0x05, Value = 0x0064"),
        std::string::npos);
    layers.transport.Close();
    mlsim_unplug_all();
}

}  // namespace
