// The 3096 x 2080 unit against the simulated chip: both exposure schemes
// (shutter line in frames on 88/89, a line count with the FPGA on 121), the
// readout modes, the window check and the unlisted and failing writes.
#include "ByteRegisterTestSupport.h"
#include "OpenedCamera.h"
#include "sensors/Sensor3096.h"

#include <cmath>

namespace {

uint32_t ChipFrame() {
    return Chip(0x22C, 3, 0x1FFFF);
}
uint32_t ChipLine() {
    return Chip(0x22F, 2, 0xFFFF);
}
uint32_t ChipShutter() {
    return Chip(0x234, 3, 0x1FFFF);
}
uint32_t ChipExtra() {
    return Chip(0x241, 2, 0x3FF);
}
uint16_t Fpga(uint16_t wRegister) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_fpga_read(0, wRegister, &wValue), 1);
    return wValue;
}

class Sensor3096Test : public OpenedCameraTest {};

TEST_F(Sensor3096Test, ShutterLineSchemeSplitsIntoFramesOf2110Lines) {
    CDevice& device = Open(88);
    ASSERT_EQ(ChipFrame(), 2110u);
    struct Case {
        int nLines;
        uint32_t nExtra, nShutter;
    } const cases[] = {{5000, 2, 1330}, {2110, 0, 0},  {1, 0, 2109},
                       {0, 0, 2109},    {-3, 0, 2109}, {2110 * 1024 + 9, 1023, 0}};
    for (const Case& c : cases) {
        ASSERT_EQ(device.SensorSetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(ChipExtra(), c.nExtra) << c.nLines;
        EXPECT_EQ(ChipShutter(), c.nShutter) << c.nLines;
        int nLines = 0;
        ASSERT_EQ(device.SensorGetExposureLines(&nLines), RET_SUCCESS);
        EXPECT_EQ(nLines, static_cast<int>((c.nExtra + 1) * 2110 - c.nShutter));
    }
    int nMin = 0, nMax = 0;
    ASSERT_EQ(device.SensorGetExposureLinesRange(&nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMin, 1);
    EXPECT_EQ(nMax, 2110 << 10);
}

TEST_F(Sensor3096Test, TwoByTwoReadoutHalvesTheFrameAndLengthensIt) {
    CDevice& device = Open(89);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 1600, 1200, 1, 1), RET_SUCCESS);
    EXPECT_EQ(Chip(0x20E, 1, 0x3F), 0x23u);
    EXPECT_EQ(Chip(0x210, 1, 0xFF), 1u);
    EXPECT_EQ(Chip(0x20D, 1, 0x03), 0u);
    EXPECT_EQ(ChipLine(), 556u);
    EXPECT_EQ(ChipFrame(), 1700u);
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    EXPECT_EQ(nWidth, 800);
    EXPECT_EQ(nHeight, 600);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, 600);

    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 1600, 1200, 0, 0), RET_SUCCESS);
    EXPECT_EQ(Chip(0x20E, 1, 0x3F), 0u);
    EXPECT_EQ(Chip(0x20D, 1, 0x03), 1u);
    EXPECT_EQ(ChipLine(), 1600u / 4 + 401);
    EXPECT_EQ(ChipFrame(), 1230u);
    (void)device;
}

TEST_F(Sensor3096Test, ModesThatDifferOrTheChipLacksAreRefused) {
    CDevice& device = Open(88);
    int nCol = 5, nRow = 3, nWidth = 1001, nHeight = 999;
    EXPECT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 1, 0, nullptr), RET_PARAMERROR);
    EXPECT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 5, 5, nullptr), RET_PARAMERROR);
    ASSERT_FALSE(device.Capability().Has(SensorCap::bmSkip3));
    EXPECT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 2, 2, nullptr), RET_NOTSUPPORT);
    uint16_t wFrames = 100;
    ASSERT_EQ(device.SensorCheckFov(nCol, nRow, nWidth, nHeight, 1, 1, &wFrames), RET_SUCCESS);
    EXPECT_EQ(nCol, 4);
    EXPECT_EQ(nRow, 2);
    EXPECT_EQ(nWidth, 1004);
    EXPECT_EQ(nHeight, 1000);
    EXPECT_EQ(wFrames, 16777216 / (502 * 500)) << "the budget of the halved frame";
    EXPECT_EQ(device.SensorSetFov(0, 0, 1000, 1000, 3, 3, nullptr), RET_NOTSUPPORT);
}

TEST_F(Sensor3096Test, GainRangeFollowsTheSelectReadAtOpen) {
    for (const auto& c : {std::pair<uint16_t, int>{0, 480}, {1, 510}}) {
        Plug(0, CameraProfile(88));
        mlsim_sensor_write(0, 0x21B, c.first);
        ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
        CDevice* pDevice = FrameGetDevice(0);
        ASSERT_NE(pDevice, nullptr);
        int nMin = -1, nMax = -1;
        ASSERT_EQ(pDevice->SensorGetGainRange(&nMin, &nMax), RET_SUCCESS);
        EXPECT_EQ(nMin, 0);
        EXPECT_EQ(nMax, c.second);
        ASSERT_EQ(pDevice->SensorSetRedGain(500), RET_SUCCESS);
        EXPECT_EQ(Chip(0x21F, 2, 0x1FF), static_cast<uint32_t>(std::min(500, c.second)));
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

TEST_F(Sensor3096Test, UnlistedWritesGoToTheChipAndReportTheBus) {
    Plug(0, CameraProfile(88));
    CameraLayers layers;
    SetModelCapability(layers.capability, 88, CapVersion{1, 0});
    ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
    SensorState state;
    struct NoHost : ISensorHost {
        int FpgaWrite(int, uint16_t, uint8_t*) override { return RET_SUCCESS; }
        uint16_t FpgaShadow(int) const override { return 0; }
        int EmptyCameraFrameBuffer() override { return RET_SUCCESS; }
        uint16_t FirmwareVersionWord() const override { return 0x0100; }
        uint16_t FpgaVersionWord() const override { return 0x0100; }
        void SettleSensor(uint32_t) override {}
    } host;
    CSensor3096 unit(layers.vendor, layers.capability, layers.pLog, state,
                     layers.transport.BusLock(), host, 88);
    ASSERT_EQ(unit.Init(), RET_SUCCESS);
    EXPECT_EQ(unit.WriteRegister(0x215, 0x05), RET_SUCCESS);
    EXPECT_EQ(unit.WriteRegister(0x3FF, 0x05), RET_FAIL) << "the chip has no such register";
    mlsim_fault_add(0, MLSIM_FAULT_STATUS, kWrSensorX, 0, -1, 1);
    EXPECT_EQ(unit.SetFov(0, 0, 1000, 1000, 1, 1, nullptr), RET_FAIL);
    EXPECT_EQ(unit.SetMirror(true), RET_FAIL);
    bool bMirror = true;
    EXPECT_EQ(unit.GetMirror(&bMirror), RET_SUCCESS);
    EXPECT_FALSE(bMirror);
}

TEST_F(Sensor3096Test, CountingSchemeCarriesTheTimingInTheFpga) {
    CDevice& device = Open(121);
    struct Case {
        int nLines;
        uint32_t nCount, nFrame;
    } const cases[] = {{3, 7, 2110}, {100, 100, 2110}, {3000, 3000, 3000}, {70000, 65535, 65535}};
    for (const Case& c : cases) {
        ASSERT_EQ(device.SensorSetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(Chip(0x237, 2, 0xFFFF), c.nCount) << c.nLines;
        EXPECT_EQ(Fpga(35), c.nCount);
        EXPECT_EQ(ChipFrame(), c.nFrame);
        EXPECT_EQ(Fpga(38), c.nFrame);
    }
    EXPECT_EQ(device.SensorSetFlip(true),
              device.Capability().Has(SensorCap::bmFlip) ? RET_NOTSUPPORT : RET_SUCCESS);
    ASSERT_EQ(ZDQ_ExposureTimeSet(0, 10.0f), RET_SUCCESS);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 100, 100, 1000, 800, 0, 0), RET_SUCCESS);
    EXPECT_EQ(Fpga(1), 1000);
    EXPECT_EQ(Fpga(2), 800);
    EXPECT_EQ(ChipLine(), 704u) << "a width below 1344";
    EXPECT_EQ(Fpga(37), 704);
    // 10 ms were kept as whole lines of 1175 clocks, then taken over as
    // lines of 704.
    const double fRequested = std::floor(10.0 / (1175 / 99000.0) + 0.5) * (1175 / 99000.0);
    EXPECT_EQ(Chip(0x237, 2, 0xFFFF),
              static_cast<uint32_t>(std::floor(fRequested / (704 / 99000.0) + 0.5)));
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 2000, 800, 0, 0), RET_SUCCESS);
    EXPECT_EQ(ChipLine(), 2u * 500 + 32);
    std::vector<uint8_t> frame(2000 * 800);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    mlsim_frame_info(0, &info);
    EXPECT_EQ(info.width, 2000);
    EXPECT_EQ(info.height, 800);
    float fMs = 0;
    ASSERT_EQ(ZDQ_ExposureTimeGet(0, &fMs), RET_SUCCESS);
    EXPECT_NEAR(info.exposure_ms, fMs, 1e-3);
}

}  // namespace
