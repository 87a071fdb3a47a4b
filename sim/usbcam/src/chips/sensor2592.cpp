// The 2592 x 1944 sensor family: 12-bit ADC, 8-bit register addresses,
// skip and binning in the address-mode registers, two clocks per column pair.
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
    GlobalGain = 0x35,
};

constexpr int kColumnOffset = 16;
constexpr int kRowOffset = 54;

class Sensor2592 final : public RegisterBankChip {
  public:
    int adcBits() const override { return 12; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 2592;
        out.arrayHeight = 1944;
        out.colStart = reg(ColumnStart) - kColumnOffset;
        out.rowStart = reg(RowStart) - kRowOffset;
        out.width = reg(ColumnSize) + 1;
        out.height = reg(RowSize) + 1;
        uint16_t rowMode = reg(RowAddressMode);
        uint16_t colMode = reg(ColumnAddressMode);
        out.colSkip = addressModeSkip(colMode);
        out.rowSkip = addressModeSkip(rowMode);
        out.colBin = addressModeBin(colMode);
        out.rowBin = addressModeBin(rowMode);
        out.flip = (reg(ReadMode2) & 0x8000) != 0;
        out.mirror = (reg(ReadMode2) & 0x4000) != 0;

        // A row lasts 2 x L clocks; the shutter overhead S is subtracted
        // twice from the integration time.
        int rowBin = (rowMode >> 4) & 3;
        int colBin = (colMode >> 4) & 3;
        int colSkipCode = colMode & 7;
        int base = rowBin == 1 ? 776 : rowBin == 3 ? 1468 : 430;
        if (colBin == 0) {
            base += 20;
        }
        int minBlank = 346 * rowBin + 410 + base / 2;
        int blank = std::max(minBlank, reg(HorizontalBlank) + 1);
        int columns = (reg(ColumnSize) + 1) / (2 * (colSkipCode + 1)) + 1;
        int half = std::max(blank + columns, 346 * rowBin + 486);
        int overhead = std::min(reg(ShutterDelay) + 1, 1504) + 212 + 208 * rowBin;
        out.lineClocks = 2.0 * half;
        long long lines =
            (static_cast<long long>(reg(ShutterWidthUpper)) << 16) | reg(ShutterWidthLower);
        out.exposureClocks = std::max(2.0 * half * lines - 2.0 * overhead, 1.0);
        out.blankRows = reg(VerticalBlank);
        out.gain[0] = aptinaGainFactor(reg(RedGain));
        out.gain[1] = aptinaGainFactor(reg(Green1Gain));
        out.gain[2] = aptinaGainFactor(reg(Green2Gain));
        out.gain[3] = aptinaGainFactor(reg(BlueGain));
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{RowStart, 54},         {ColumnStart, 16},
                {RowSize, 1943},        {ColumnSize, 2591},
                {HorizontalBlank, 0},   {VerticalBlank, 25},
                {ShutterWidthUpper, 0}, {ShutterWidthLower, 1943},
                {FrameRestart, 0},      {ShutterDelay, 0},
                {ReadMode1, 0x4000},    {ReadMode2, 0x0040},
                {RowAddressMode, 0},    {ColumnAddressMode, 0},
                {Green1Gain, 8},        {BlueGain, 8},
                {RedGain, 8},           {Green2Gain, 8},
                {GlobalGain, 8}};
    }

    void afterWrite(uint16_t address, uint16_t value) override {
        if (address == GlobalGain) {
            setReg(Green1Gain, value);
            setReg(BlueGain, value);
            setReg(RedGain, value);
            setReg(Green2Gain, value);
        } else if (address == FrameRestart) {
            setReg(FrameRestart, 0);
        }
    }
};

const SensorChipRegistrar kRegistrar({8, 9, 10, 11, 31, 32, 41, 42, 52, 53, 72, 73, 77, 78},
                                     []() -> std::unique_ptr<SensorChip> {
                                         return std::make_unique<Sensor2592>();
                                     });

}  // namespace
}  // namespace usbcam
