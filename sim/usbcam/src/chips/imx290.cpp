// IMX290: 1944 x 1096 CMOS sensor with byte registers at 16-bit addresses.
// A frame is VMAX lines (18 bits at 0x218) of HMAX clocks (0x21C); the
// shutter opens at line SHS (18 bits at 0x220), so the exposure lasts
// VMAX - SHS - 1 lines. The window sits in the low 11 bits of ROIPH1
// (0x240), ROIPV1 (0x23C), ROIWH1 (0x242) and ROIWV1 (0x23E); gain in 0.3 dB
// steps at 0x214; flip and mirror in 0x207.
#include <algorithm>
#include <cmath>

#include "byte_register_chip.h"

namespace usbcam {
namespace {

class Imx290 final : public ByteRegisterChip {
  public:
    int adcBits() const override { return 12; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 1944;
        out.arrayHeight = 1096;
        out.colStart = static_cast<int>(field(0x240, 2, 11));
        out.rowStart = static_cast<int>(field(0x23C, 2, 11));
        out.width = static_cast<int>(field(0x242, 2, 11));
        out.height = static_cast<int>(field(0x23E, 2, 11));
        out.flip = (reg(0x207) & 0x01) != 0;
        out.mirror = (reg(0x207) & 0x02) != 0;
        const long long vmax = field(0x218, 3, 18);
        const long long lines = vmax - static_cast<long long>(field(0x220, 3, 18)) - 1;
        out.lineClocks = std::max<uint32_t>(field(0x21C, 2, 16), 1);
        out.exposureClocks = static_cast<double>(std::max<long long>(lines, 1)) * out.lineClocks;
        out.blankRows = std::max(static_cast<int>(vmax) - out.height, 0);
        const double gain = std::pow(10.0, 0.3 * (reg(0x214) & 0xFF) / 20.0);
        std::fill(std::begin(out.gain), std::end(out.gain), gain);
        return out;
    }

  protected:
    // The full frame with 8 optical black lines: the shortest frame is
    // 1096 + 8 + 13 = 1117 lines, 100 lines of exposure at 1100 clocks.
    // Bits above the 11 of the window registers read partly set.
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{0x207, 0x00}, {0x20A, 0xF0}, {0x20B, 0x00}, {0x214, 0x00}, {0x218, 0x5D},
                {0x219, 0x04}, {0x21A, 0x00}, {0x21C, 0x4C}, {0x21D, 0x04}, {0x220, 0xF8},
                {0x221, 0x03}, {0x222, 0x00}, {0x23A, 0x18}, {0x23C, 0x00}, {0x23D, 0x00},
                {0x23E, 0x48}, {0x23F, 0x04}, {0x240, 0x00}, {0x241, 0x08}, {0x242, 0x98},
                {0x243, 0x47}, {0x618, 0x49}, {0x619, 0x04}, {0x672, 0x98}, {0x673, 0x07}};
    }
};

const SensorChipRegistrar kRegistrar({115, 116}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Imx290>();
});

}  // namespace
}  // namespace usbcam
