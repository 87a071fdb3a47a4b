// The 2592 x 1944 sensor family: 12-bit ADC, 8-bit register addresses,
// skip and binning in the address-mode registers, two clocks per column pair.
#include <algorithm>

#include "register_family_chip.h"

namespace usbcam {
namespace {

constexpr int kColumnOffset = 16;
constexpr int kRowOffset = 54;

class Sensor2592 final : public RegisterFamilyChip {
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
        decodeAddressModes(out);
        decodeOrientation(out);

        // A row lasts 2 x L clocks; the shutter overhead S is subtracted
        // twice from the integration time.
        uint16_t rowMode = reg(RowAddressMode);
        uint16_t colMode = reg(ColumnAddressMode);
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
        decodeGains(out, familyGainFactor);
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return withFamilyPowerOn({{RowStart, 54},
                                  {ColumnStart, 16},
                                  {RowSize, 1943},
                                  {ColumnSize, 2591},
                                  {HorizontalBlank, 0},
                                  {ShutterWidthUpper, 0},
                                  {ShutterWidthLower, 1943},
                                  {ReadMode1, 0x4000},
                                  {ReadMode2, 0x0040},
                                  {RowAddressMode, 0},
                                  {ColumnAddressMode, 0},
                                  {GlobalGain, 8}});
    }
};

const SensorChipRegistrar kRegistrar({8, 9, 10, 11, 31, 32, 41, 42, 52, 53, 72, 73, 77, 78},
                                     []() -> std::unique_ptr<SensorChip> {
                                         return std::make_unique<Sensor2592>();
                                     });

}  // namespace
}  // namespace usbcam
