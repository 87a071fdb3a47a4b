// The IMX183 and IMX226 units on their simulated cameras: the SHR/SVR
// exposure, the global-reset firmware's FPGA timing in free run and in a
// trigger mode, the pre-exposure and global-reset exports, readout modes and
// the window rules.
#include <cmath>

#include "ByteRegisterTestSupport.h"
#include "OpenedCamera.h"
#include "sensors/GlobalResetUnit.h"

namespace {

uint32_t ChipShr() {
    return Chip(0x0B, 2, 0xFFFF);
}
uint32_t ChipSvr() {
    return Chip(0x0D, 2, 0xFFFF);
}
uint16_t Fpga(uint16_t wRegister) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_fpga_read(0, wRegister, &wValue), 1);
    return wValue;
}

class GlobalResetSensorTest : public OpenedCameraTest {
  protected:
    CDevice& OpenWith(int nType, uint16_t wFirmware, uint16_t wFpga = 0x0100) {
        MlSimProfile profile = CameraProfile(nType, 1, wFirmware);
        profile.fpga_version = wFpga;
        CDevice& device = Open(profile);
        // The FPGA's external trigger, whatever its preset says.
        device.Capability().FpgaCapability |= FpgaCap::bmTriggerModeExternal.Mask();
        return device;
    }
};

TEST_F(GlobalResetSensorTest, FirmwareDecidesTheGlobalResetShutter) {
    struct Case {
        int nType;
        uint16_t wFirmware;
        bool bGlobalReset;
    } const cases[] = {{102, 0x1413, false}, {102, 0x1414, true}, {103, 0x1500, true},
                       {123, 0x0100, true},  {96, 0x1300, false}, {97, 0x1400, true},
                       {122, 0x0100, true}};
    for (const Case& c : cases) {
        CDevice& device = OpenWith(c.nType, c.wFirmware);
        int nMin = -1, nMax = -1;
        EXPECT_EQ(device.SensorPreExposureRangeGet(&nMin, &nMax),
                  c.bGlobalReset ? RET_SUCCESS : RET_NOTSUPPORT)
            << c.nType << " " << std::hex << c.wFirmware;
        ASSERT_EQ(device.SensorGetExposureLinesRange(&nMin, &nMax), RET_SUCCESS);
        EXPECT_EQ(nMin, c.bGlobalReset ? 1 : 4);
        const int nFrame = c.nType >= 102 && c.nType != 122 ? 3740 : 3120;
        EXPECT_EQ(nMax, c.bGlobalReset ? 0xFFF5 : nFrame * 65536);
        EXPECT_EQ(device.SensorPreExposureLinesSet(5), RET_SUCCESS) << "both units answer 1";
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

// The IMX183 cameras reach the FPGA's trigger modes, and so the global-reset
// shutter, through their FPGA presets alone, as the IMX226 cameras do with the
// same FPGA.
TEST_F(GlobalResetSensorTest, TheFpgaPresetsOpenTheTriggerModesAndTheGlobalReset) {
    const struct {
        int nType;
        uint16_t wFirmware;
    } cases[] = {{102, 0x1414}, {103, 0x1500}, {123, 0x0100}, {96, 0x1400}, {122, 0x0100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nType);
        MlSimProfile profile = CameraProfile(c.nType, 1, c.wFirmware);
        profile.fpga_version = 0x1800;
        CDevice& device = Open(profile);
        EXPECT_EQ(
            device.Capability().FpgaCapability & ~FpgaCap::bmExposureLine.Mask() &
                ~FpgaCap::bmGpioNormal.Mask(),
            0x899b1fdffe7ffull & ~FpgaCap::bmExposureLine.Mask() & ~FpgaCap::bmGpioNormal.Mask());
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 1), RET_SUCCESS);
        ASSERT_EQ(ZDQ_GlobalResetShutterSet(0, true), RET_SUCCESS);
        bool bOn = false;
        ASSERT_EQ(ZDQ_GlobalResetShutterGet(0, &bOn), RET_SUCCESS);
        EXPECT_TRUE(bOn);
        EXPECT_EQ(Chip(0x08, 1, 0x01), 1u);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(GlobalResetSensorTest, SplitExposureWithoutGlobalReset) {
    CDevice& device = OpenWith(102, 0x1413);
    struct Case {
        int nLines;
        uint32_t nSvr, nShr;
    } const cases[] = {{100, 0, 3640}, {3731, 1, 3749}, {2, 0, 3736}, {3740 * 65536, 65535, 10}};
    for (const Case& c : cases) {
        ASSERT_EQ(device.SensorSetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(ChipSvr(), c.nSvr) << c.nLines;
        EXPECT_EQ(ChipShr(), c.nShr) << c.nLines;
        EXPECT_GE(ChipShr(), 10u);
    }
    MlSimFrameInfo info{};
    ASSERT_EQ(device.SensorSetExposureLines(100), RET_SUCCESS);
    mlsim_frame_info(0, &info);
    EXPECT_NEAR(info.exposure_ms, 100 * 1080 / 72000.0, 1e-6);
    EXPECT_NEAR(device.ExposureTime(), 100 * 1080 / 72000.0, 1e-5);
}

TEST_F(GlobalResetSensorTest, GlobalResetFreeRunHandsTheFrameToTheFpga) {
    CDevice& device = OpenWith(102, 0x1414, 0x1400);
    ASSERT_EQ(device.SensorSetExposureLines(100), RET_SUCCESS);
    EXPECT_EQ(Fpga(38), 3740);
    EXPECT_EQ(ChipShr(), 3641u);
    EXPECT_EQ(ChipSvr(), 0u);
    EXPECT_EQ(Fpga(35), 100);
    EXPECT_EQ(Fpga(50), 10);
    EXPECT_EQ(Fpga(51), 10);
    EXPECT_EQ(Fpga(52), 110);
    ASSERT_EQ(device.SensorSetExposureLines(5000), RET_SUCCESS);
    EXPECT_EQ(Fpga(38), 5009);
    EXPECT_EQ(ChipShr(), 10u);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_NEAR(info.exposure_ms, 5000 * 1080 / 72000.0, 1e-6);
    int nLines = 0;
    ASSERT_EQ(device.SensorGetExposureLines(&nLines), RET_SUCCESS);
    EXPECT_EQ(nLines, 5000);
}

TEST_F(GlobalResetSensorTest, TriggerModeRunsThePreExposure) {
    CDevice& device = OpenWith(123, 0x0100);
    EXPECT_EQ(ZDQ_GlobalResetShutterGet(0, nullptr), RET_NOTSUPPORT) << "free run";
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 1), RET_SUCCESS);
    ASSERT_EQ(ZDQ_PreExposureLinesSet(0, 20), RET_SUCCESS);
    ASSERT_EQ(ZDQ_GlobalResetShutterSet(0, true), RET_SUCCESS);
    EXPECT_EQ(Chip(0x08, 1, 0x01), 1u);
    bool bOn = false;
    ASSERT_EQ(ZDQ_GlobalResetShutterGet(0, &bOn), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    ASSERT_EQ(device.SensorSetExposureLines(100), RET_SUCCESS);
    EXPECT_EQ(ChipShr(), 30u);
    EXPECT_EQ(Fpga(50), 30);
    EXPECT_EQ(Fpga(52), 130);
    EXPECT_EQ(Fpga(38), 3740);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_NEAR(info.exposure_ms, 100 * 1080 / 72000.0, 1e-6) << "the FPGA's line count";

    ASSERT_EQ(ZDQ_GlobalResetShutterSet(0, false), RET_SUCCESS);
    EXPECT_EQ(Chip(0x08, 1, 0x01), 0u);
    ASSERT_EQ(device.SensorSetExposureLines(100), RET_SUCCESS);
    EXPECT_EQ(Fpga(52), 3870);
    float fMs = 0;
    ASSERT_EQ(ZDQ_PreExposureTimeGet(0, &fMs), RET_SUCCESS);
    EXPECT_NEAR(fMs, 20 * 1080 / 72000.0, 1e-5);

    // Back to free run: the resynchronisation clears the global reset.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 0), RET_SUCCESS);
    EXPECT_EQ(Chip(0x08, 1, 0x01), 0u);
    EXPECT_EQ(ZDQ_GlobalResetShutterSet(0, true), RET_NOTSUPPORT);
}

TEST_F(GlobalResetSensorTest, PreExposureLinesClampAndDoNotWrap) {
    CDevice& device = OpenWith(122, 0x0100);
    struct Case {
        int nLines, nStored;
    } const cases[] = {{-5, 0}, {0x10000, 0xFFF5}, {0xFFFF, 0xFFF5}, {300, 300}};
    for (const Case& c : cases) {
        ASSERT_EQ(device.SensorPreExposureLinesSet(c.nLines), RET_SUCCESS);
        int nLines = -1;
        ASSERT_EQ(device.SensorPreExposureLinesGet(&nLines), RET_SUCCESS);
        EXPECT_EQ(nLines, c.nStored);
    }
    // The longest pre-exposure with the longest exposure saturates the
    // FPGA's 16-bit end line.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_TRIGGER_MODE, 1), RET_SUCCESS);
    ASSERT_EQ(device.SensorPreExposureLinesSet(0xFFF5), RET_SUCCESS);
    ASSERT_EQ(device.SensorSetExposureLines(0xFFF5), RET_SUCCESS);
    EXPECT_EQ(Fpga(50), 0xFFFF);
    EXPECT_EQ(Fpga(52), 0xFFFF);
    EXPECT_EQ(device.SensorPreExposureTimeSet(-1.0f), RET_SUCCESS) << "IMX226 ignores it";
    int nLines = 0;
    ASSERT_EQ(device.SensorPreExposureLinesGet(&nLines), RET_SUCCESS);
    EXPECT_EQ(nLines, 0xFFF5);
}

TEST_F(GlobalResetSensorTest, TwoByTwoReadoutShortensTheLineAndKeepsTheTime) {
    CDevice& device = OpenWith(123, 0x0100);
    ASSERT_EQ(ZDQ_ExposureTimeSet(0, 30.0f), RET_SUCCESS);
    int nBefore = 0;
    ASSERT_EQ(device.SensorGetExposureLines(&nBefore), RET_SUCCESS);
    EXPECT_EQ(nBefore, static_cast<int>(std::lround(30.0 / (1080 / 72000.0))));
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 2000, 1000, 1, 1), RET_SUCCESS);
    EXPECT_EQ(Chip(0x04, 1, 0xFF), 25u);
    EXPECT_EQ(Fpga(37), 440);
    EXPECT_EQ(Fpga(48), 3);
    EXPECT_EQ(Fpga(1), 1000);
    EXPECT_EQ(Fpga(2), 500);
    int nAfter = 0;
    ASSERT_EQ(device.SensorGetExposureLines(&nAfter), RET_SUCCESS);
    EXPECT_NEAR(nAfter, nBefore * 1080.0 / 440.0, 2.0);
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    EXPECT_EQ(nWidth, 1000);
    EXPECT_EQ(nHeight, 500);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 1000);
    EXPECT_EQ(info.height, 500);
    EXPECT_NEAR(info.exposure_ms, 30.0, 0.02);
}

TEST_F(GlobalResetSensorTest, IMX226WindowRulesAndGain) {
    CDevice& device = OpenWith(96, 0x1400);
    int nCol = 8, nRow = 0, nWidth = 4152, nHeight = 2160;
    EXPECT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 0, 0, nullptr), RET_NOTSUPPORT);
    nCol = 0;
    nWidth = 100;
    nHeight = 100;
    EXPECT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 1, 0, nullptr), RET_PARAMERROR);
    ASSERT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 1, 1, nullptr), RET_SUCCESS);
    EXPECT_EQ(nWidth, 4152);
    EXPECT_EQ(nHeight, 2160);
    nWidth = 4000;
    EXPECT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 0, 0, nullptr), RET_NOTSUPPORT);

    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 4152, 2160, 1, 1), RET_SUCCESS);
    EXPECT_EQ(Chip(0x05, 1, 0xFF), 77u);
    EXPECT_EQ(Chip(0xB6, 1, 0xFF), 103u);
    EXPECT_EQ(Chip(0x04, 1, 0xFF), 137u);
    EXPECT_EQ(Fpga(1), 2076);
    EXPECT_EQ(Fpga(2), 1080);
    EXPECT_EQ(Fpga(37), 628);
    std::vector<uint8_t> frame(2076 * 1080);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 2076);
    EXPECT_EQ(info.height, 1080);

    for (const auto& c : {std::pair<int, uint32_t>{5000, 1957}, {-2, 0}, {1000, 1000}}) {
        ASSERT_EQ(device.SensorSetRedGain(c.first), RET_SUCCESS);
        EXPECT_EQ(Chip(0x09, 2, 0xFFFF), c.second);
    }
}

TEST_F(GlobalResetSensorTest, IMX226InitProgramsItsStartValues) {
    Plug(0, CameraProfile(97));
    mlsim_sensor_write(0, 0x0B, 0x99);
    mlsim_sensor_write(0, 0xB6, 5);
    mlsim_sensor_write(0, 0x08, 0x01);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    ASSERT_NE(FrameGetDevice(0), nullptr);
    EXPECT_EQ(Chip(0x0B, 2, 0xFFFF), 7u);
    EXPECT_EQ(Chip(0xB6, 1, 0xFF), 71u);
    EXPECT_EQ(Chip(0x08, 1, 0xFF), 1u) << "the global-reset register as read";
    ZDQ_UnInit();
    mlsim_unplug_all();
    // A failing start-up write keeps the camera closed.
    Plug(0, CameraProfile(97));
    mlsim_fault_add(0, MLSIM_FAULT_STATUS, kWrSensorX, 0, -1, 1);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    EXPECT_EQ(FrameGetDevice(0), nullptr);
}

TEST_F(GlobalResetSensorTest, StrobeThroughFpgaRegister29) {
    CDevice& device = OpenWith(102, 0x0100);
    EXPECT_EQ(device.SensorFlashEnableSet(true), RET_NOTSUPPORT) << "the preset has no strobe";
    device.Capability().SensorCapability |=
        SensorCap::bmFlashEnable.Mask() | SensorCap::bmFlashInvert.Mask();
    device.Capability().FpgaCapability |= FpgaCap::bmGpioNormal.Mask();
    ASSERT_EQ(device.SensorFlashEnableSet(false), RET_SUCCESS);
    EXPECT_EQ(Fpga(29) & 0x0300, 0x0300);
    ASSERT_EQ(device.SensorFlashEnableSet(true), RET_SUCCESS);
    EXPECT_EQ(Fpga(29) & 0x0300, 0);
    ASSERT_EQ(device.SensorFlashInvertSet(true), RET_SUCCESS);
    EXPECT_EQ(Fpga(29) & 0x4000, 0x4000);
    bool bOn = false, bInvert = false;
    EXPECT_EQ(device.SensorFlashEnableGet(&bOn), RET_SUCCESS);
    EXPECT_EQ(device.SensorFlashInvertGet(&bInvert), RET_SUCCESS);
    EXPECT_TRUE(bOn);
    EXPECT_TRUE(bInvert);
}

}  // namespace
