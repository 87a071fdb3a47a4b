// The 2048 x 1536 sensor family: 10-bit ADC, 8-bit register addresses,
// 11-bit window fields, skip and binning in the address-mode registers.
#include <algorithm>

#include "../sensor_chip.h"
#include "aptina_address_mode.h"

namespace usbcam {
namespace {

enum : uint16_t {
    RowStart = 0x01,
    ColumnStart = 0x02,
    RowSize = 0x03,
    ColumnSize = 0x04,
    HorizontalBlank = 0x05,
    VerticalBlank = 0x06,
    ShutterWidthUpper = 0x08,
    ShutterWidthLower = 0x09,
    FrameRestart = 0x0B,
    ShutterDelay = 0x0C,
    ReadMode1 = 0x1E,
    ReadMode2 = 0x20,
    RowAddressMode = 0x22,
    ColumnAddressMode = 0x23,
    Green1Gain = 0x2B,
    BlueGain = 0x2C,
    RedGain = 0x2D,
    Green2Gain = 0x2E,
};

constexpr int kRowOffset = 20;

class Sensor2048 final : public RegisterBankChip {
  public:
    int adcBits() const override { return 10; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 2048;
        out.arrayHeight = 1536;
        uint16_t rowMode = reg(RowAddressMode);
        uint16_t colMode = reg(ColumnAddressMode);
        int colSkipCode = colMode & 7;
        // Skipped column read-out starts two columns later on this chip.
        bool shifted = colSkipCode == 1 || colSkipCode == 3 || colSkipCode == 7;
        out.colStart = (reg(ColumnStart) & 0xFFF) - (shifted ? 34 : 32);
        out.rowStart = (reg(RowStart) & 0x7FF) - kRowOffset;
        out.width = (reg(ColumnSize) & 0x7FF) + 1;
        out.height = (reg(RowSize) & 0x7FF) + 1;
        out.colSkip = addressModeSkip(colMode);
        out.rowSkip = addressModeSkip(rowMode);
        out.colBin = addressModeBin(colMode);
        out.rowBin = addressModeBin(rowMode);
        out.flip = (reg(ReadMode2) & 0x8000) != 0;
        out.mirror = (reg(ReadMode2) & 0x4000) != 0;

        int rowBin = (rowMode >> 4) & 3;
        int colBin = (colMode >> 4) & 3;
        int rowOverhead = rowBin == 1 ? 673 : rowBin == 2 ? 999 : 331;
        int columnOverhead = colBin == 1 ? 22 : colBin == 2 ? 14 : 38;
        int blank = std::max(reg(HorizontalBlank) & 0x7FF, 21);
        int delay = reg(ShutterDelay) & 0x7FF;
        int columns = (((reg(ColumnSize) & 0x7FF) + 1) / (colSkipCode + 1)) & ~1;
        int row = std::max(columns + blank + columnOverhead + rowOverhead,
                           (colBin + 1) * 316 + delay + rowOverhead);
        out.lineClocks = row;
        long long lines =
            (static_cast<long long>(reg(ShutterWidthUpper) & 0xF) << 16) | reg(ShutterWidthLower);
        out.exposureClocks = std::max<double>(lines * row - delay - rowOverhead + 132, 1.0);
        out.blankRows = reg(VerticalBlank) & 0x7FF;
        out.gain[0] = aptinaGainFactor(reg(RedGain));
        out.gain[1] = aptinaGainFactor(reg(Green1Gain));
        out.gain[2] = aptinaGainFactor(reg(Green2Gain));
        out.gain[3] = aptinaGainFactor(reg(BlueGain));
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{RowStart, 20},         {ColumnStart, 32},
                {RowSize, 1535},        {ColumnSize, 2047},
                {HorizontalBlank, 21},  {VerticalBlank, 25},
                {ShutterWidthUpper, 0}, {ShutterWidthLower, 1000},
                {FrameRestart, 0},      {ShutterDelay, 0},
                {ReadMode1, 0},         {ReadMode2, 0x0040},
                {RowAddressMode, 0},    {ColumnAddressMode, 0},
                {Green1Gain, 8},        {BlueGain, 8},
                {RedGain, 8},           {Green2Gain, 8}};
    }

    void afterWrite(uint16_t address, uint16_t value) override {
        (void)value;
        if (address == FrameRestart) {
            setReg(FrameRestart, 0);
        }
    }
};

const SensorChipRegistrar kRegistrar({3, 7, 30, 35, 40, 68}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor2048>();
});

}  // namespace
}  // namespace usbcam
