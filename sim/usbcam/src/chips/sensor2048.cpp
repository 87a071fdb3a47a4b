// The 2048 x 1536 sensor family: 10-bit ADC, 8-bit register addresses,
// 11-bit window fields, skip and binning in the address-mode registers.
#include <algorithm>

#include "register_family_chip.h"

namespace usbcam {
namespace {

constexpr int kRowOffset = 20;

class Sensor2048 final : public RegisterFamilyChip {
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
        decodeAddressModes(out);
        decodeOrientation(out);

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
        decodeGains(out, familyGainFactor);
        return out;
    }

  protected:
    // No global gain register on this chip.
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return withFamilyPowerOn({{RowStart, 20},
                                  {ColumnStart, 32},
                                  {RowSize, 1535},
                                  {ColumnSize, 2047},
                                  {HorizontalBlank, 21},
                                  {ShutterWidthUpper, 0},
                                  {ShutterWidthLower, 1000},
                                  {ReadMode1, 0},
                                  {ReadMode2, 0x0040},
                                  {RowAddressMode, 0},
                                  {ColumnAddressMode, 0}});
    }
};

const SensorChipRegistrar kRegistrar({3, 7, 30, 35, 40, 68}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor2048>();
});

}  // namespace
}  // namespace usbcam
