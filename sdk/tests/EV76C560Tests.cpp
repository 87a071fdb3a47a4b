// The EV76C560 unit: its clock from the oscillator, PLL and clock registers,
// the line-exposure mode, gains and windows, against the simulated chip.
#include <cmath>

#include "OpenedCamera.h"
#include "capability/CapabilityPresets.h"
#include "sensors/EV76C560.h"

namespace {

constexpr uint16_t kLineCfg = 0x04, kClkCfg = 0x08, kPllCfg = 0x09, kTInt = 0x0E;
constexpr uint16_t kPrgOsc = 0x3A, kLineMode = 0x76;

uint16_t ChipRegister(uint16_t wAddress) {
    uint16_t wValue = 0;
    EXPECT_EQ(mlsim_sensor_read(0, wAddress, &wValue), 1) << std::hex << wAddress;
    return wValue;
}

size_t SensorWritesSince() {
    size_t n = 0;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        n += entry.request == 0xC3 ? 1 : 0;
    }
    return n;
}

struct NoFpgaHost : ISensorHost {
    int FpgaWrite(int, uint16_t, uint8_t*) override { return RET_SUCCESS; }
    uint16_t FpgaShadow(int) const override { return 0; }
    int EmptyCameraFrameBuffer() override { return RET_SUCCESS; }
    uint16_t FirmwareVersionWord() const override { return 0x0100; }
    uint16_t FpgaVersionWord() const override { return 0x0100; }
    void SettleSensor(uint32_t) override {}
};

// The clock in Hz of a register triple, from the chip's clock tree.
double ClockHz(uint16_t wClk, uint16_t wPll, uint16_t wOsc) {
    const double fOscillator = 1.0 / (0.53404e-6 / ((wOsc & 0x7F) + 36) + 3.4e-9);
    const double fPll = 96e6 * 2 * ((wPll & 0xFF) + 1) /
                        (2.0 * (((wPll >> 8) & 0x1F) + 1) * (((wPll >> 13) & 3) + 1));
    const int nSource = (wClk & 0x1000) ? (wClk >> 10) & 3 : (wClk >> 8) & 3;
    const double fSource[4] = {0, 96e6, fOscillator, fPll};
    const int nDivider = (wClk >> 4) & 0xF;
    return fSource[nSource] / (nDivider != 0 ? nDivider : 1);
}

class EV76C560UnitTest : public SimTest {
  protected:
    std::unique_ptr<CEV76C560> PlugAndInit(int nType, uint16_t wClk, uint16_t wPll) {
        Plug(0, CameraProfile(nType));
        EXPECT_EQ(mlsim_sensor_write(0, kClkCfg, wClk), 1);
        EXPECT_EQ(mlsim_sensor_write(0, kPllCfg, wPll), 1);
        SetModelCapability(layers.capability, nType, CapVersion::FromWord(0x0100));
        EXPECT_EQ(layers.transport.Open(), RET_SUCCESS);
        auto unit = std::make_unique<CEV76C560>(layers.vendor, layers.capability, layers.pLog,
                                                state, host, nType);
        EXPECT_EQ(unit->Init(), RET_SUCCESS);
        return unit;
    }

    CameraLayers layers;
    SensorState state;
    NoFpgaHost host;
};

TEST_F(EV76C560UnitTest, ClockPeriodFollowsTheClockRegistersOnceTheOscillatorIsWritten) {
    const struct {
        uint16_t wClk, wPll, wOsc;
    } kCases[] = {
        {0x0320, 0x2712, 0x41},  // PLL 114 MHz / 2
        {0x0210, 0x0000, 0x42},  // the oscillator at setting 66
        {0x0220, 0x0000, 0x10},  // the oscillator at setting 16, / 2
        {0x1C30, 0x0A3F, 0x41},  // bit 12: the PLL from bits 10-11, / 3
        {0x0100, 0x0000, 0x41},  // 96 MHz
    };
    for (const auto& c : kCases) {
        const auto unit = PlugAndInit(58, c.wClk, c.wPll);
        EXPECT_FLOAT_EQ(static_cast<float>(unit->ClockPeriod()), layers.capability.T)
            << "the capability's period until the oscillator is written";
        ASSERT_EQ(unit->WriteRegister(kPrgOsc, c.wOsc), RET_SUCCESS);
        const double fExpected = 1000.0 / ClockHz(c.wClk, c.wPll, c.wOsc);
        EXPECT_NEAR(unit->ClockPeriod(), fExpected, fExpected * 1e-9) << std::hex << c.wClk;
        // The exposure follows the new clock.
        const double fLine = (ChipRegister(kLineCfg) & 0x7FF) * 8 * fExpected;
        EXPECT_NEAR(state.fExposureTime, fLine * ChipRegister(kTInt), fLine * 1e-3);
        layers.transport.Close();
        mlsim_unplug_all();
    }
}

TEST_F(EV76C560UnitTest, ClockSelectingNoSourceKeepsThePeriod) {
    const auto unit = PlugAndInit(64, 0x0000, 0x2712);
    const double fBefore = unit->ClockPeriod();
    ASSERT_EQ(unit->WriteRegister(kPrgOsc, 0x41), RET_SUCCESS);
    EXPECT_EQ(unit->ClockPeriod(), fBefore);
}

class EV76C560Test : public OpenedCameraTest {};

TEST_F(EV76C560Test, LineModeExposureSetsOscillatorAndLine) {
    Plug(0, CameraProfile(64));
    ASSERT_EQ(mlsim_sensor_write(0, kLineMode, 0x0800), 1);
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    ASSERT_NE(FrameGetDevice(0), nullptr);
    int nMin = -1, nMax = -1;
    ASSERT_EQ(ZDQ_GetParamRange(0, ZDQ_EXPOSURE_LINES, &nMin, &nMax), RET_SUCCESS);
    EXPECT_EQ(nMax, 2047);

    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 50), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kPrgOsc) & 0x7F, 77);
    EXPECT_EQ(ChipRegister(kLineCfg) & 0x7FF, 0x70);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 3000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kLineCfg) & 0x7FF, 2047);
    EXPECT_EQ(ChipRegister(kPrgOsc) & 0x7F, 64);
    int nLines = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_EXPOSURE_LINES, &nLines), RET_SUCCESS);
    EXPECT_EQ(nLines, 2047);

    // A time changes nothing in line mode.
    mlsim_journal_clear(0);
    EXPECT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 123), RET_SUCCESS);
    EXPECT_EQ(SensorWritesSince(), 0u);

    // The frame's exposure is one line of the chip's own clock.
    int nWidth = 0, nHeight = 0;
    ASSERT_EQ(ZDQ_CaptureGetSize(0, &nWidth, &nHeight), RET_SUCCESS);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    ASSERT_EQ(ZDQ_CaptureRawData(0, frame.data()), RET_SUCCESS);
    MlSimFrameInfo info{};
    ASSERT_EQ(mlsim_frame_info(0, &info), 1);
    float fMs = 0;
    ASSERT_EQ(ZDQ_ExposureTimeGet(0, &fMs), RET_SUCCESS);
    EXPECT_NEAR(info.exposure_ms, fMs, fMs * 1e-4);
}

TEST_F(EV76C560Test, NormalModeClampsLinesAndTime) {
    Open(65);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, 65535), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kTInt), 65534);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE_LINES, -4), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kTInt), 0);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_EXPOSURE, 2000000000), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(kTInt), 65534) << "a long time clamps, never wraps";
}

TEST_F(EV76C560Test, MonochromeAndColourGains) {
    Open(59);  // monochrome
    ASSERT_EQ(mlsim_sensor_write(0, 0x11, 0x5A20), 1);
    ZDQ_UnInit();
    ASSERT_EQ(ZDQ_Init(), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 300), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x11), 0x5AFF);
    ZDQ_UnInit();
    mlsim_unplug_all();

    Open(58);  // colour
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_RED, 10), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_GREEN, 20), RET_SUCCESS);
    ASSERT_EQ(ZDQ_SetParam(0, ZDQ_BLUE, 30), RET_SUCCESS);
    EXPECT_EQ(ChipRegister(0x37), 30 << 8 | 10);
    EXPECT_EQ(ChipRegister(0x36), 20 << 8 | 20);
    int nBlue = 0;
    ASSERT_EQ(ZDQ_GetParam(0, ZDQ_BLUE, &nBlue), RET_SUCCESS);
    EXPECT_EQ(nBlue, 30);
}

TEST_F(EV76C560Test, WindowsGiveFramesOfTheirSize) {
    const struct {
        int nType, nCol, nRow, nWidth, nHeight, nMode, nFrameWidth, nFrameHeight;
    } kCases[] = {
        {64, 100, 50, 800, 600, 0, 800, 600},
        {64, 0, 0, 1600, 1200, 1, 800, 600},
        {59, 16, 8, 640, 480, 0, 640, 480},
    };
    for (const auto& c : kCases) {
        Open(c.nType);
        ASSERT_EQ(
            ZDQ_CaptureSetFieldOfView(0, c.nCol, c.nRow, c.nWidth, c.nHeight, c.nMode, c.nMode),
            RET_SUCCESS);
        EXPECT_EQ(ChipRegister(0x14), c.nCol + 6);
        EXPECT_EQ(ChipRegister(0x12), c.nRow + 6);
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
        EXPECT_EQ(ZDQ_CaptureSetFieldOfView(0, 0, 0, 640, 480, 1, 0), RET_PARAMERROR);
        ZDQ_UnInit();
        mlsim_unplug_all();
    }
}

}  // namespace

namespace {

TEST_F(EV76C560Test, ControlRegisterIsReadAgainAfterAWorkingModeWrite) {
    CDevice& device = Open(64);
    unsigned char byOn = 1;
    ASSERT_EQ(ZDQ_FlashEnableGet(0, &byOn), RET_SUCCESS);
    EXPECT_EQ(byOn, 0);
    // The camera switched the strobe on by itself.
    ASSERT_EQ(mlsim_sensor_write(0, 0x0B, 0x0040), 1);
    ASSERT_EQ(device.SensorResyncAfterFpgaCtrl(), RET_SUCCESS);
    ASSERT_EQ(ZDQ_FlashEnableGet(0, &byOn), RET_SUCCESS);
    EXPECT_EQ(byOn, 1);
}

}  // namespace
