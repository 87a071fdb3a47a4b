// MT9V034: 752 x 480 CMOS sensor, 8-bit register addresses, 16-bit values,
// with its own automatic exposure (AEC) and gain (AGC).
//
// Window: column start - 1, row start - 4, width, height; read mode bits
// 0-1 bin the rows, bits 2-3 the columns (1: by 2, 2: by 4), bit 4 flips,
// bit 5 mirrors. A line lasts the width plus the horizontal blanking, which
// the chip raises to the least its read-out needs (61 clocks; 71 when
// binning columns by 2, 91 by 4) whenever the width or the read mode change.
//
// The engines measure the scene, whose mean level (8 bits) is exposure rows
// x analogue gain code / 64, and after each frame move half way towards the
// level in register 0xA5: the AEC its rows (register 0xBB) within 0xAC ..
// 0xAD, then the AGC its gain code (register 0xBA) within 16 .. 0xAB.
#include <algorithm>
#include <memory>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

class Mt9v034 final : public RegisterBankChip {
  public:
    int adcBits() const override { return 10; }

    bool writeRegister(uint16_t address, uint16_t value) override {
        // The engines' outputs are the chip's own.
        if (address == AgcGainOutput || address == AecExposureOutput) {
            return true;
        }
        const uint16_t before = reg(AecAgcEnable);
        if (!RegisterBankChip::writeRegister(address, value)) {
            return false;
        }
        // An engine switched on starts from the manual setting.
        if (address == AecAgcEnable && (value & 1) && !(before & 1)) {
            setReg(AecExposureOutput, reg(ShutterWidth));
        }
        if (address == AecAgcEnable && (value & 2) && !(before & 2)) {
            setReg(AgcGainOutput, reg(AnalogGain) & 0x7F);
        }
        return true;
    }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 752;
        out.arrayHeight = 480;
        out.colStart = (reg(ColumnStart) & 0x3FF) - 1;
        out.rowStart = (reg(RowStart) & 0x1FF) - 4;
        out.width = reg(WindowWidth) & 0x3FF;
        out.height = reg(WindowHeight) & 0x1FF;
        const uint16_t mode = reg(ReadMode);
        out.rowSkip = out.rowBin = binOf(mode & 3);
        out.colSkip = out.colBin = binOf((mode >> 2) & 3);
        out.flip = (mode & 0x0010) != 0;
        out.mirror = (mode & 0x0020) != 0;
        out.lineClocks = std::max(out.width + (reg(HorizontalBlank) & 0x3FF), 1);
        out.exposureClocks = std::max(exposureRows(), 1) * out.lineClocks;
        out.blankRows = reg(VerticalBlank) & 0x7FFF;
        std::fill(std::begin(out.gain), std::end(out.gain), gainCode() / 16.0);
        return out;
    }

    // Without the engines the chip keeps the manual exposure and gain.
    void fitEngine(bool fitted) override { engineFitted_ = fitted; }

    void onFrame() override {
        if (!engineFitted_) {
            return;
        }
        const uint16_t enable = reg(AecAgcEnable);
        const int desired = reg(DesiredBin);
        const auto halfWay = [](int now, int goal) {
            int next = now + (goal - now) / 2;
            return next == now && now != goal ? next + (goal > now ? 1 : -1) : next;
        };
        if (enable & 1) {
            const int lo = std::max<int>(reg(MinShutter), 1);
            const int hi = std::max<int>(reg(MaxShutter), lo);
            const int goal = std::clamp(desired * 64 / std::max(gainCode(), 1), lo, hi);
            setReg(AecExposureOutput,
                   static_cast<uint16_t>(std::clamp(halfWay(exposureRows(), goal), lo, hi)));
        }
        if (enable & 2) {
            const int hi = std::max<int>(reg(MaxGain) & 0x7F, 16);
            const int goal = std::clamp(desired * 64 / std::max(exposureRows(), 1), 16, hi);
            setReg(AgcGainOutput,
                   static_cast<uint16_t>(std::clamp(halfWay(gainCode(), goal), 16, hi)));
        }
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        // The full window, both engines on.
        return {{ColumnStart, 1},         {RowStart, 4},         {WindowHeight, 480},
                {WindowWidth, 752},       {HorizontalBlank, 94}, {VerticalBlank, 45},
                {ShutterWidth, 480},      {ReadMode, 0x0300},    {LedOutCtrl, 0},
                {AdcResolution, 0x0302},  {AnalogGain, 16},      {MaxGain, 64},
                {MinShutter, 1},          {MaxShutter, 480},     {AecAgcEnable, 3},
                {DesiredBin, 58},         {AgcGainOutput, 16},   {AecExposureOutput, 480},
                {AnalogControls, 0x0118}, {FineShutter, 0}};
    }

    void afterWrite(uint16_t address, uint16_t value) override {
        (void)value;
        if (address == WindowWidth || address == ReadMode) {
            const int colBin = binOf((reg(ReadMode) >> 2) & 3);
            const int least = colBin == 4 ? 91 : colBin == 2 ? 71 : 61;
            setReg(HorizontalBlank,
                   static_cast<uint16_t>(std::max<int>(reg(HorizontalBlank) & 0x3FF, least)));
        }
    }

  private:
    enum : uint16_t {
        ColumnStart = 0x01,
        RowStart = 0x02,
        WindowHeight = 0x03,
        WindowWidth = 0x04,
        HorizontalBlank = 0x05,
        VerticalBlank = 0x06,
        ShutterWidth = 0x0B,
        ReadMode = 0x0D,
        LedOutCtrl = 0x1B,
        AdcResolution = 0x1C,
        AnalogGain = 0x35,
        DesiredBin = 0xA5,
        MaxGain = 0xAB,
        MinShutter = 0xAC,
        MaxShutter = 0xAD,
        AecAgcEnable = 0xAF,
        AgcGainOutput = 0xBA,
        AecExposureOutput = 0xBB,
        AnalogControls = 0xC2,
        FineShutter = 0xD5,
    };

    static int binOf(int code) { return code == 1 ? 2 : code == 2 ? 4 : 1; }
    int exposureRows() const {
        return (reg(AecAgcEnable) & 1) ? reg(AecExposureOutput) : reg(ShutterWidth);
    }
    int gainCode() const {
        return (reg(AecAgcEnable) & 2) ? reg(AgcGainOutput) : reg(AnalogGain) & 0x7F;
    }

    bool engineFitted_ = true;
};

const SensorChipRegistrar kRegistrar({28, 29, 36, 37, 60, 61}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Mt9v034>();
});

}  // namespace
}  // namespace usbcam
