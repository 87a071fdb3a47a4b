// The SPI-style 1280 x 1024 sensor: 16-bit registers at 16-bit addresses.
// Window: register 256 holds the first and last column block of 8 pixels
// (low and high byte), 257 and 258 the first and last row (10 bits);
// register 192 bits 7 and 8 both set read every second pixel and row. The
// exposure is register 201 units of register 199 pixel clocks; the gain
// register 205 is 64 for unity.
#include <algorithm>
#include <memory>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

class Spi1280 final : public RegisterBankChip {
  public:
    int adcBits() const override { return 10; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 1280;
        out.arrayHeight = 1024;
        const uint16_t columns = reg(Columns);
        out.colStart = (columns & 0xFF) * 8;
        out.width = std::max(((columns >> 8) - (columns & 0xFF)) * 8 + 8, 0);
        out.rowStart = reg(FirstRow) & 0x3FF;
        out.height = std::max((reg(LastRow) & 0x3FF) - out.rowStart + 1, 0);
        const bool subsampled = (reg(Control) & 0x0180) == 0x0180;
        out.colSkip = out.rowSkip = subsampled ? 2 : 1;
        out.lineClocks = std::max<int>(reg(ExposureUnit), 1);
        out.exposureClocks =
            std::max<double>(static_cast<double>(reg(Exposure)) * out.lineClocks, 1);
        std::fill(std::begin(out.gain), std::end(out.gain), reg(Gain) / 64.0);
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{Control, 0},         {Control2, 0x0010},  {ExtraLines, 0x000A},
                {ExposureUnit, 1000}, {FrameLength, 1200}, {Exposure, 100},
                {Reserved1, 0},       {Reserved2, 0},      {Gain, 64},
                {Columns, 159 << 8},  {FirstRow, 0},       {LastRow, 1023}};
    }

  private:
    enum : uint16_t {
        Control = 192,
        Control2 = 194,
        ExtraLines = 197,
        ExposureUnit = 199,
        FrameLength = 200,
        Exposure = 201,
        Reserved1 = 202,
        Reserved2 = 203,
        Gain = 205,
        Columns = 256,
        FirstRow = 257,
        LastRow = 258,
    };
};

const SensorChipRegistrar kRegistrar({56, 57}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Spi1280>();
});

}  // namespace
}  // namespace usbcam
