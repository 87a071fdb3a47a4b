// IMX183: 5472 x 3648 CMOS sensor with byte registers at 16-bit addresses.
// MDSEL1-4 (0x04-0x07) = 25, 17, 80, 0 read the array two by two, any other
// setting whole; frames of 3740 lines, lines of 1080 clocks (440 two by two).
// Its camera's FPGA crops the output window.
#include "global_reset_chip.h"

namespace usbcam {
namespace {

class Imx183 final : public GlobalResetChip {
  public:
    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = out.width = 5472;
        out.arrayHeight = out.height = 3648;
        out.colSkip = out.rowSkip = twoByTwo() ? 2 : 1;
        decodeTiming(out);
        return out;
    }

  protected:
    int frameLines() const override { return 3740; }
    int lineClocks() const override { return reg(0x04) == 25 ? 440 : 1080; }
    // Full readout, 100 lines of exposure.
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{0x04, 0},    {0x05, 3},    {0x06, 16},   {0x07, 0},    {0x08, 0x00}, {0x09, 0x00},
                {0x0A, 0x00}, {0x0B, 0x38}, {0x0C, 0x0E}, {0x0D, 0x00}, {0x0E, 0x00}, {0x0F, 0x00},
                {0x10, 0x00}, {0x11, 0x00}, {0x1A, 0x00}, {0x45, 0x32}};
    }

  private:
    bool twoByTwo() const {
        return reg(0x04) == 25 && reg(0x05) == 17 && reg(0x06) == 80 && reg(0x07) == 0;
    }
};

const SensorChipRegistrar kRegistrar({102, 103, 123}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Imx183>();
});

}  // namespace
}  // namespace usbcam
