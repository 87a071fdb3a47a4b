// AR0130 and MT9M031 cameras opened through ZDQ_Init: exposure, gains,
// windows and the on-chip automatic exposure, checked against the simulated
// chip's registers and frames.
#include <cmath>

#include "OpenedCamera.h"
#include "capability/CapabilityPresets.h"
#include "sensors/AR0130.h"

namespace {

constexpr uint16_t kXStart = 0x3004, kYStart = 0x3002, kXEnd = 0x3008, kYEnd = 0x3006;
constexpr uint16_t kCoarse = 0x3012, kLineLength = 0x300C, kFine = 0x3014;
constexpr uint16_t kEmbeddedData = 0x3064, kAeCtrl = 0x3100, kLumaTarget = 0x3102;
constexpr uint16_t kEngineLines = 0x3164, kFrameLength = 0x300A;

uint16_t ChipRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1) << std::hex << wAddress;
    return wValue;
}

class AR0130Test : public OpenedCameraTest {
  protected:
    // A camera whose chip lacks the engine.
    CDevice& OpenWithoutEngine(int nType) {
        MlSimProfile profile = CameraProfile(nType);
        profile.onchip_engine = 0;
        CDevice& device = Open(profile);
        EXPECT_EQ(ChipRegister(kEmbeddedData) & 0x0180, 0);
        return device;
    }
    void CaptureFrames(int nFrames) {
        int nWidth = 0, nHeight = 0;
        ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
        std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
        for (int i = 0; i < nFrames; ++i) {
            ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        }
    }
};

TEST_F(AR0130Test, ExposureTimeBecomesLinesOfTheLineLengthAndFineTime) {
    CDevice& device = Open(17);
    const float T = device.Capability().T;
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 20), RET_SUCCESS);
    const double fLines = (20.0 / T - ChipRegister(kFine)) / ChipRegister(kLineLength) + 0.5;
    EXPECT_EQ(ChipRegister(kCoarse), static_cast<uint16_t>(fLines));
    // The chip lengthened its frame for the exposure and the unit read it.
    EXPECT_GT(ChipRegister(kFrameLength), ChipRegister(kCoarse));
    // Out-of-range line counts clamp.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kCoarse), 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 70000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kCoarse), 65535);
}

TEST_F(AR0130Test, MonochromeGainGoesToEveryGainRegisterClamped) {
    Open(18);
    for (const auto& [nGain, wWritten] : {std::pair{0, 1}, {300, 255}, {-5, 1}, {77, 77}}) {
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, nGain), RET_SUCCESS);
        for (uint16_t wAddress : {0x305E, 0x305A, 0x3056, 0x305C, 0x3058}) {
            EXPECT_EQ(ChipRegister(wAddress), wWritten) << nGain << " " << std::hex << wAddress;
        }
        int nRead = 0;
        ASSERT_EQ(ZDQ_GetParam(0, ZDQ_GREEN, &nRead), RET_SUCCESS);
        EXPECT_EQ(nRead, wWritten);
    }
}

TEST_F(AR0130Test, ColourGainsGoToTheirOwnRegisters) {
    Open(17);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 40), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN, 50), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x305A), 40);
    EXPECT_EQ(ChipRegister(0x3056), 50);
    EXPECT_EQ(ChipRegister(0x305C), 50);
    EXPECT_EQ(ChipRegister(0x3058), 1);
    EXPECT_EQ(ChipRegister(0x305E), 32) << "the global gain stays";
}

TEST_F(AR0130Test, EngineRegionIsEvenAndReadBack) {
    Open(17);
    ASSERT_EQ(ZDQ_AESetRegion(0, 101, 51, 641, 481), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x3140), 100);
    EXPECT_EQ(ChipRegister(0x3142), 50);
    EXPECT_EQ(ChipRegister(0x3144), 640);
    EXPECT_EQ(ChipRegister(0x3146), 480);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(ZDQ_AEGetRegion(0, &x, &y, &w, &h, nullptr), RET_SUCCESS);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({100, 50, 640, 480}));
}

// The engine's fixed point: the luma target over the luma per line of the
// simulated scene, within the engine's range.
TEST_F(AR0130Test, EngineConvergesRefusesManualExposureAndHandsItsExposureBack) {
    for (int nType : {17, 62}) {
        Open(nType);
        ASSERT_EQ(ZDQ_AESetTarget(0, 100), RET_SUCCESS);
        EXPECT_EQ(ChipRegister(kLumaTarget), 100 << 4);
        ASSERT_EQ(ZDQ_AECSetRange(0, 10, 500), RET_SUCCESS);
        unsigned short usMin = 0, usMax = 0;
        ASSERT_EQ(ZDQ_AECGetRange(0, &usMin, &usMax), RET_SUCCESS);
        EXPECT_EQ(usMin, 10);
        EXPECT_EQ(usMax, 500);
        ASSERT_EQ(ZDQ_AECSetEnable(0, true), RET_SUCCESS);
        EXPECT_EQ(ChipRegister(kAeCtrl) & 1, 1);
        EXPECT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 5), RET_ILLEGALOPERATION);
        EXPECT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 5), RET_ILLEGALOPERATION);

        CaptureFrames(20);
        const uint16_t wGoal = (100 << 4) / 8;
        unsigned short usCur = 0;
        ASSERT_EQ(ZDQ_AECGetCur(0, &usCur), RET_SUCCESS);
        EXPECT_EQ(usCur, wGoal) << nType;
        int nLines = 0;
        ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
        EXPECT_EQ(nLines, wGoal);

        ASSERT_EQ(ZDQ_AECSetEnable(0, false), RET_SUCCESS);
        EXPECT_EQ(ChipRegister(kCoarse), wGoal);
        EXPECT_EQ(ChipRegister(kEngineLines), wGoal);
        EXPECT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 40), RET_SUCCESS);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(AR0130Test, WithoutTheEngineItsOperationsAreNotSupported) {
    for (int nType : {18, 80}) {
        OpenWithoutEngine(nType);
        unsigned short usMin = 0, usMax = 0, usCur = 0;
        bool bOn = true;
        EXPECT_EQ(ZDQ_AECSetEnable(0, true), RET_NOTSUPPORT);
        EXPECT_EQ(ZDQ_AECGetEnable(0, &bOn), RET_NOTSUPPORT);
        EXPECT_FALSE(bOn);
        EXPECT_EQ(ZDQ_AECSetRange(0, 1, 2), RET_NOTSUPPORT);
        EXPECT_EQ(ZDQ_AECGetRange(0, &usMin, &usMax), RET_NOTSUPPORT);
        EXPECT_EQ(ZDQ_AECGetCur(0, &usCur), RET_NOTSUPPORT);
        // The software AE keeps its target; the exposure is the manual one.
        EXPECT_EQ(ZDQ_AESetTarget(0, 90), RET_SUCCESS);
        EXPECT_EQ(ChipRegister(kLumaTarget), 0x0500);
        ASSERT_EQ(mlsim_sensor_write(0, kAeCtrl, 0x0011), 1);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 123), RET_SUCCESS);
        int nLines = 0;
        ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
        EXPECT_EQ(nLines, 123);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

struct WindowCase {
    int nType;
    int nCol, nRow, nWidth, nHeight, nMode;
    uint16_t wXStart, wXEnd, wYStart, wYEnd;
    int nFrameWidth, nFrameHeight;
};

class AR0130WindowTest : public AR0130Test, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(AR0130WindowTest, WindowRegistersAndFrameSize) {
    const WindowCase& c = GetParam();
    Open(c.nType);
    // A window first elsewhere, so the case's window is written.
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 320, 200, 400, 300, 0, 0), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, c.nCol, c.nRow, c.nWidth, c.nHeight, c.nMode, c.nMode),
              RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kXStart), c.wXStart);
    EXPECT_EQ(ChipRegister(kXEnd), c.wXEnd);
    EXPECT_EQ(ChipRegister(kYStart), c.wYStart);
    EXPECT_EQ(ChipRegister(kYEnd), c.wYEnd);
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    EXPECT_EQ(nWidth, c.nFrameWidth);
    EXPECT_EQ(nHeight, c.nFrameHeight);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, c.nFrameWidth);
    EXPECT_EQ(info.height, c.nFrameHeight);
}

INSTANTIATE_TEST_SUITE_P(Windows, AR0130WindowTest,
                         ::testing::Values(
                             // AR0130: rows 2 into the registers.
                             WindowCase{17, 100, 60, 640, 480, 0, 100, 739, 62, 541, 640, 480},
                             WindowCase{17, 0, 0, 1280, 960, 1, 0, 1279, 2, 961, 640, 480},
                             // MT9M031: columns 2 and rows 4 into the registers.
                             WindowCase{62, 0, 0, 1280, 960, 0, 2, 1281, 4, 963, 1280, 960},
                             WindowCase{62, 8, 4, 640, 480, 0, 10, 649, 8, 487, 640, 480},
                             WindowCase{63, 0, 0, 1280, 960, 1, 2, 1281, 4, 963, 640, 480}),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return "Type" + std::to_string(info.param.nType) + "Case" +
                                    std::to_string(info.index);
                         });

TEST_F(AR0130Test, WindowModesTheChipCannotDeliverAreRefused) {
    for (int nType : {17, 62}) {
        Open(nType);
        EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 1, 0), RET_PARAMERROR) << nType;
        EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 0, 1), RET_PARAMERROR) << nType;
        if (nType == 62) {
            // Its row skips would leave the columns whole.
            EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 4, 4), RET_NOTSUPPORT);
        }
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

}  // namespace

namespace {

// The unit alone over the simulated chip, with a device log.
class AR0130UnitTest : public SimTest {
  protected:
    CAR0130& PlugAndInit(int nType) {
        Plug(0, CameraProfile(nType));
        SetModelCapability(layers.capability, nType, CapVersion::FromWord(0x0100));
        EXPECT_EQ(layers.transport.Open(), RET_SUCCESS);
        unit = std::make_unique<CAR0130>(layers.vendor, layers.capability, layers.pLog, state);
        EXPECT_EQ(unit->Init(), RET_SUCCESS);
        return *unit;
    }

    CameraLayers layers{"ar0130-unit.log"};
    SensorState state;
    std::unique_ptr<CAR0130> unit;
};

TEST_F(AR0130UnitTest, DumpHasItsLinesAndDigitalTestBit7IsCleared) {
    PlugAndInit(17);
    EXPECT_EQ(ChipRegister(0x30B0) & 0x80, 0);
    const std::string log = layers.LogText();
    const size_t nStart = log.find("ZDQAPI::++++ZDQLOG_OUTPUT_AR0130_RELATE_REG_VALUE++++.");
    ASSERT_NE(nStart, std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::AR0130REG_X_ADDR_START:            0x0000", nStart),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::AR0130REG_COARSE_INTEGRATION_TIME: 0x0010", nStart),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::AR0130REG_AE_ROI_Y_SIZE:           0x03c0", nStart),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::----ZDQLOG_OUTPUT_AR0130_RELATE_REG_VALUE----.", nStart),
              std::string::npos);
    EXPECT_EQ(log.find("AR0130REG_", log.find("----ZDQLOG_OUTPUT_AR0130")), std::string::npos)
        << "the registers without a log name are not dumped";
}

TEST_F(AR0130UnitTest, EngineStoppingKeepsTheManualExposureWhenItsOwnCannotBeRead) {
    CAR0130& ar0130 = PlugAndInit(17);
    ASSERT_EQ(ar0130.SetExposureLines(300), RET_SUCCESS);
    ASSERT_EQ(ar0130.AECSetEnable(true), RET_SUCCESS);
    // The engine's exposure read fails once.
    ASSERT_EQ(mlsim_fault_add(0, MLSIM_FAULT_STATUS, 0xC2, 0, 1, 1), 1);
    ASSERT_EQ(ar0130.AECSetEnable(false), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kAeCtrl) & 1, 0);
    EXPECT_EQ(ChipRegister(kCoarse), 300);
}

}  // namespace
