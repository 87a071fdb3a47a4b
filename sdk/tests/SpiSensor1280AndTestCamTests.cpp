// The SPI-style 1280 x 1024 unit and the test camera on simulated cameras:
// window words and the frame length, exposure and gain clamps, the chip's
// automatic exposure and binning bits; the test camera's FPGA-sized frames
// and its failures without a readable FPGA.
#include "OpenedCamera.h"
#include "capability/CapabilityPresets.h"
#include "sensors/TestCam.h"

namespace {

uint16_t ChipRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1) << wAddress;
    return wValue;
}

class SpiSensor1280Test : public OpenedCameraTest {};

TEST_F(SpiSensor1280Test, WindowIsAlignedAndWrittenAsColumnBlocks) {
    CDevice& device = Open(57);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 100, 21, 500, 301, 0, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(256), 76 << 8 | 14);
    EXPECT_EQ(ChipRegister(257), 21);
    EXPECT_EQ(ChipRegister(258), 321);
    // The frame length the window and the exposure unit need.
    const double T = device.Capability().T;
    const double fRows = (ChipRegister(197) & 0xFF) + 301;
    const double fLength =
        ((504 * 0.25 * T + 0.002212) * fRows + 0.43933) / (ChipRegister(199) * T) + 0.5;
    EXPECT_EQ(ChipRegister(200), static_cast<uint16_t>(fLength));
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    EXPECT_EQ(nWidth, 504);
    EXPECT_EQ(nHeight, 301);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, 504);
    EXPECT_EQ(info.height, 301);
    EXPECT_EQ(info.col_start, 112);
}

TEST_F(SpiSensor1280Test, SubsamplingTakesBothModesAndTheFpga) {
    Open(57);
    EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 1, 0), RET_PARAMERROR);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 1280, 1024, 1, 1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(192) & 0x0180, 0x0180);
    uint16_t wMode = 0;
    ASSERT_EQ(mlsim_fpga_read(0, 0, &wMode), 1);
    EXPECT_EQ(wMode & 0x6000, 0x2000) << "monochrome subsampling";
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 512);
}

TEST_F(SpiSensor1280Test, ExposureAndGainClampAndTheChipBits) {
    Open(56);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 2000000000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(201), 65535) << "a long time clamps, never wraps";
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(201), 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(205), 1);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 5000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(205), 4095);
    ASSERT_EQ(ZDQ_AECSetEnable(0, true), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(192) & 0x0400, 0x0400);
    EXPECT_EQ(ZDQ_AESetTarget(0, 100), RET_NOTSUPPORT) << "its AE takes no target";
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BIN, 1), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(192) & 0x0100, 0x0100);
    int nBin = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_BIN, &nBin), RET_SUCCESS);
    EXPECT_EQ(nBin, 1);
}

class TestCamTest : public OpenedCameraTest {};

TEST_F(TestCamTest, FramesHaveTheSizeTheFpgaReports) {
    Plug(0, CameraProfile(110));
    ASSERT_EQ(mlsim_fpga_write(0, 1, 800), 1);
    ASSERT_EQ(mlsim_fpga_write(0, 2, 600), 1);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    ASSERT_NE(FrameGetDevice(0), nullptr);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 16, 16, 320, 240, 0, 0), RET_SUCCESS);
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    EXPECT_EQ(nWidth, 800) << "the only window is the FPGA's frame";
    EXPECT_EQ(nHeight, 600);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, 600);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 10), RET_NOTSUPPORT);
}

TEST_F(TestCamTest, WithoutAReadableFpgaTheSizeStaysZeroAndInitFails) {
    MlSimProfile profile = CameraProfile(110);
    profile.has_fpga = 0;
    Plug(0, profile);
    CameraLayers layers;
    SetModelCapability(layers.capability, 110, CapVersion::FromWord(0x0100));
    ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
    SensorState state;
    CTestCam unit(layers.vendor, layers.capability, layers.pLog, state);
    EXPECT_NE(unit.Init(), RET_SUCCESS) << "the FPGA does not answer";
    layers.capability.Set(FirmwareCap::bmReadFpgaDead, 1);
    EXPECT_EQ(unit.Init(), RET_NOTSUPPORT);
    EXPECT_EQ(state.roi.nMaxWidth, 0);
    EXPECT_EQ(state.roi.nMaxHeight, 0);
    layers.transport.Close();
    // Such a camera does not open.
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    EXPECT_EQ(FrameGetDevice(0), nullptr);
}

}  // namespace

namespace {

// Timing registers that read 0 never divide: a time becomes the shortest
// exposure and the frame length is left as it is.
TEST_F(SpiSensor1280Test, ExposureUnitOfZeroNeverDivides) {
    Plug(0, CameraProfile(56));
    ASSERT_EQ(mlsim_sensor_write(0, 199, 0), 1);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    ASSERT_NE(FrameGetDevice(0), nullptr);
    const unsigned nFrameLength = ChipRegister(200);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 40), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(201), 1);
    ASSERT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 0, 0), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(200), nFrameLength);
    float fMs = -1;
    ASSERT_EQ(ZDQ_ExposureTimeGet(0, &fMs), RET_SUCCESS);
    EXPECT_EQ(fMs, 0.0f);
}

}  // namespace
