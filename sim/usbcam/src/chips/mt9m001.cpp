// MT9M001: 1280 x 1024 monochrome or Bayer CMOS sensor, 8-bit register
// addresses, 16-bit values.
#include <algorithm>

#include "register_family_chip.h"

namespace usbcam {
namespace {

// The active array starts 20 columns and 12 rows into the chip's addresses.
constexpr int kColumnOffset = 20;
constexpr int kRowOffset = 12;

class Mt9m001 final : public RegisterFamilyChip {
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
        // Skip in the read-mode registers; no binning on this chip.
        uint16_t mode1 = reg(ReadMode1);
        uint16_t mode2 = reg(ReadMode2);
        out.colSkip = (mode2 & 0x0008) ? 2 : (mode1 & 0x0004) ? 4 : (mode1 & 0x0010) ? 8 : 1;
        out.rowSkip = (mode2 & 0x0010) ? 2 : (mode1 & 0x0008) ? 4 : (mode1 & 0x0020) ? 8 : 1;
        decodeOrientation(out);

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
        // Analogue gain only: the digital gain bits are not on this chip.
        decodeGains(out, familyAnalogueGain);
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return withFamilyPowerOn({{RowStart, 12},
                                  {ColumnStart, 20},
                                  {RowSize, 1023},
                                  {ColumnSize, 1279},
                                  {HorizontalBlank, 9},
                                  {ShutterWidth, 1049},
                                  {ReadMode1, 0x8000},
                                  {ReadMode2, 0x1104},
                                  {GlobalGain, 8},
                                  {CalThreshold, 0x231D},
                                  {CalCtrl, 0x0498}});
    }

  private:
    // A single 14-bit shutter width register; calibration registers of its own.
    enum : uint16_t {
        ShutterWidth = ShutterWidthLower,
        CalThreshold = 0x5F,
        CalCtrl = 0x62,
    };
};

const SensorChipRegistrar kRegistrar({0, 1, 4, 5, 33, 34, 38, 39, 66, 67, 76},
                                     []() -> std::unique_ptr<SensorChip> {
                                         return std::make_unique<Mt9m001>();
                                     });

}  // namespace
}  // namespace usbcam
