// MT9M001: 1280 x 1024 monochrome or Bayer CMOS sensor, 8-bit register
// addresses, 16-bit values.
#include <algorithm>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

enum : uint16_t {
    RowStart = 0x01,
    ColumnStart = 0x02,
    RowSize = 0x03,
    ColumnSize = 0x04,
    HorizontalBlank = 0x05,
    VerticalBlank = 0x06,
    ShutterWidth = 0x09,
    FrameRestart = 0x0B,
    ShutterDelay = 0x0C,
    ReadMode1 = 0x1E,
    ReadMode2 = 0x20,
    Green1Gain = 0x2B,
    BlueGain = 0x2C,
    RedGain = 0x2D,
    Green2Gain = 0x2E,
    GlobalGain = 0x35,
    CalThreshold = 0x5F,
    CalCtrl = 0x62,
};

// The active array starts 20 columns and 12 rows into the chip's addresses.
constexpr int kColumnOffset = 20;
constexpr int kRowOffset = 12;

class Mt9m001 final : public RegisterBankChip {
  public:
    int adcBits() const override { return 10; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 1280;
        out.arrayHeight = 1024;
        out.colStart = (reg(ColumnStart) & 0x7FF) - kColumnOffset;
        out.rowStart = (reg(RowStart) & 0x7FF) - kRowOffset;
        out.width = (reg(ColumnSize) & 0x7FF) + 1;
        out.height = (reg(RowSize) & 0x7FF) + 1;
        uint16_t mode1 = reg(ReadMode1);
        uint16_t mode2 = reg(ReadMode2);
        out.colSkip = (mode2 & 0x0008) ? 2 : (mode1 & 0x0004) ? 4 : (mode1 & 0x0010) ? 8 : 1;
        out.rowSkip = (mode2 & 0x0010) ? 2 : (mode1 & 0x0008) ? 4 : (mode1 & 0x0020) ? 8 : 1;
        out.flip = (mode2 & 0x8000) != 0;
        out.mirror = (mode2 & 0x4000) != 0;

        // Row time in pixel clocks: the columns actually read, the horizontal
        // blanking (at least 19) and a fixed overhead, unless the shutter
        // delay needs a longer row.
        int columns = reg(ColumnSize) & 0x7FF;
        if (out.colSkip == 2) {
            columns = columns / 4 * 2 + 1;
        } else if (out.colSkip == 4) {
            columns = columns / 8 * 2 + 1;
        } else if (out.colSkip == 8) {
            columns = columns / 16 * 2 + 1;
        }
        int blank = std::max(reg(HorizontalBlank) & 0x7FF, 19);
        int row = columns + blank + 226;
        int delay = reg(ShutterDelay) & 0x7FF;
        if (delay > (row - 548) / 4) {
            row = 4 * delay + 548;
        }
        out.lineClocks = row;
        long long lines = reg(ShutterWidth) & 0x3FFF;
        out.exposureClocks = std::max<long long>(lines * row - delay - 180, 1);
        out.blankRows = reg(VerticalBlank) & 0x7FF;
        out.gain[0] = gainFactor(reg(RedGain));
        out.gain[1] = gainFactor(reg(Green1Gain));
        out.gain[2] = gainFactor(reg(Green2Gain));
        out.gain[3] = gainFactor(reg(BlueGain));
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{RowStart, 12},       {ColumnStart, 20},      {RowSize, 1023},
                {ColumnSize, 1279},   {HorizontalBlank, 9},   {VerticalBlank, 25},
                {ShutterWidth, 1049}, {FrameRestart, 0},      {ShutterDelay, 0},
                {ReadMode1, 0x8000},  {ReadMode2, 0x1104},    {Green1Gain, 8},
                {BlueGain, 8},        {RedGain, 8},           {Green2Gain, 8},
                {GlobalGain, 8},      {CalThreshold, 0x231D}, {CalCtrl, 0x0498}};
    }

    void afterWrite(uint16_t address, uint16_t value) override {
        if (address == GlobalGain) {
            // The global gain sets all four colour gains.
            setReg(Green1Gain, value);
            setReg(BlueGain, value);
            setReg(RedGain, value);
            setReg(Green2Gain, value);
        } else if (address == FrameRestart) {
            setReg(FrameRestart, 0);  // the restart bit clears itself
        }
    }

  private:
    // Bits 0-5 in eighths, bit 6 doubles.
    static double gainFactor(uint16_t value) {
        return (value & 0x3F) / 8.0 * ((value & 0x40) ? 2.0 : 1.0);
    }
};

const SensorChipRegistrar kRegistrar({0, 1, 4, 5, 33, 34, 38, 39, 66, 67, 76},
                                     []() -> std::unique_ptr<SensorChip> {
                                         return std::make_unique<Mt9m001>();
                                     });

}  // namespace
}  // namespace usbcam
