// Cameras of the 30xx family opened through ZDQ_Init: exposure conversions
// with the line length the chip computes, gains, strobe polarity, skipped
// windows, and the two types without window limits.
#include <cmath>

#include "OpenedCamera.h"

namespace {

constexpr uint16_t kLineLength = 0x300C, kCoarse = 0x3012, kFine = 0x3014;
constexpr uint16_t kReadMode = 0x3040, kFlash = 0x3046, kStrobeCtrl = 0x315E;

uint16_t ChipRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1) << std::hex << wAddress;
    return wValue;
}

class Sensor30xxTest : public OpenedCameraTest {};

TEST_F(Sensor30xxTest, TypesWithoutWindowLimitsDoNotOpen) {
    for (int nType : {15, 16}) {
        Plug(0, CameraProfile(nType));
        ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        int nReported = 0;
        EXPECT_EQ(ZDQ_DeviceGetInformation(0, &nReported, nullptr, nullptr), RET_DEVICENOTINIT)
            << nType;
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(Sensor30xxTest, OpensWithTheMirrorClearedAndConvertsWithTheChipsLineLength) {
    CDevice& device = Open(25);
    EXPECT_EQ(ChipRegister(kReadMode) & 0x4000, 0);
    const double T = device.Capability().T;
    const double fClocks = 1000.0 * ChipRegister(kLineLength) + ChipRegister(kFine);
    EXPECT_NEAR(device.SensorExposureLinesToTime(1000), fClocks * T, fClocks * T * 1e-6);
    // Minutes of exposure clamp at the register's top.
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 5 * 60 * 1000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kCoarse), 65535);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 30), RET_SUCCESS);
    const double fLines = (30.0 / T - ChipRegister(kFine)) / ChipRegister(kLineLength) + 0.5;
    EXPECT_EQ(ChipRegister(kCoarse), static_cast<uint16_t>(fLines));
}

TEST_F(Sensor30xxTest, GainsClampAndGreenTakesBothRegisters) {
    Open(26);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN, 300), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x302A), 194);
    EXPECT_EQ(ChipRegister(0x3030), 194);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, -1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x302C), 0);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 77), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x302E), 77);
}

TEST_F(Sensor30xxTest, StrobePolarityGoesToBothRegisters) {
    Open(27);
    ASSERT_EQ(ZDQ_FlashInvertSet(0, 1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kFlash) & 0x80, 0x80);
    EXPECT_EQ(ChipRegister(kStrobeCtrl) & 0x04, 0);
    ASSERT_EQ(ZDQ_FlashInvertSet(0, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kFlash) & 0x80, 0);
    EXPECT_EQ(ChipRegister(kStrobeCtrl) & 0x04, 0x04);
    unsigned char byOn = 0;
    ASSERT_EQ(ZDQ_FlashEnableGet(0, &byOn), RET_SUCCESS);
    EXPECT_EQ(byOn, 1);
}

TEST_F(Sensor30xxTest, SkippedWindowsKeepTheExposureTimeAndGiveFramesOfTheirSize) {
    const struct {
        int nType, nCol, nRow, nWidth, nHeight, nMode;
        uint16_t wXStart, wYStart, wCode;
    } kCases[] = {
        {43, 100, 50, 1024, 768, 0, 100, 58, 1},
        {54, 0, 0, 3856, 2764, 1, 8, 8, 3},
        {74, 16, 32, 2048, 1536, 3, 24, 64, 7},
    };
    for (const auto& c : kCases) {
        Open(c.nType);
        ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 20), RET_SUCCESS);
        ASSERT_EQ(
            ZDQ_CaptureSetFieldOfView(0, c.nCol, c.nRow, c.nWidth, c.nHeight, c.nMode, c.nMode),
            RET_SUCCESS)
            << c.nType;
        EXPECT_EQ(ChipRegister(0x3004), c.wXStart);
        EXPECT_EQ(ChipRegister(0x3002), c.wYStart);
        EXPECT_EQ(ChipRegister(0x30A2), c.wCode);
        EXPECT_EQ(ChipRegister(0x30A6), c.wCode);
        EXPECT_EQ(ChipRegister(kReadMode) & 0x1FF, c.wCode << 6 | c.wCode);
        const int nFactor = c.nMode == 0 ? 1 : c.nMode == 1 ? 2 : 4;
        int nWidth = 0, nHeight = 0;
        ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
        EXPECT_EQ(nWidth, c.nWidth / nFactor);
        EXPECT_EQ(nHeight, c.nHeight / nFactor);
        std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
        ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
        MlSimFrameInfo info{};
        ASSERT_EQ(mlsim_frame_info(0, &info), 1);
        EXPECT_EQ(info.width, nWidth);
        EXPECT_EQ(info.height, nHeight);
        // The lines follow the chip's new line length.
        float fMs = 0;
        ASSERT_EQ(ZDQ_ExposureTimeGet(0, &fMs), RET_SUCCESS);
        EXPECT_NEAR(info.exposure_ms, fMs, fMs * 1e-4);
        EXPECT_NEAR(fMs, 20.0f, 0.01f) << c.nType;
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

}  // namespace
