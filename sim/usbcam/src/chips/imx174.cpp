// IMX174: 1936 x 1216 CMOS sensor with byte registers at 16-bit addresses.
// Exposure: the shutter opens at line SHS of the last of VIRTUAL_SVS + 1
// frames of VMAX lines, so it lasts (VIRTUAL_SVS + 1) x VMAX - SHS lines of
// HMAX pixel clocks. The window is read from ROIPH1/ROIPV1 (start) and
// ROIWH1/ROIWV1 (size).
#include <algorithm>

#include "byte_register_chip.h"

namespace usbcam {
namespace {

class Imx174 final : public ByteRegisterChip {
  public:
    int adcBits() const override { return 12; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 1936;
        out.arrayHeight = 1216;
        out.colStart = static_cast<int>(field(0x301, 2, 11));
        out.rowStart = static_cast<int>(field(0x303, 2, 11));
        out.width = static_cast<int>(field(0x305, 2, 11));
        out.height = static_cast<int>(field(0x307, 2, 11));
        out.flip = (reg(0x216) & 0x01) != 0;
        out.mirror = (reg(0x216) & 0x02) != 0;
        const uint32_t hmax = field(0x21A, 2, 16);
        const uint32_t vmax = field(0x217, 2, 12);
        const long long lines = (static_cast<long long>(field(0x29C, 2, 16)) + 1) * vmax -
                                static_cast<long long>(field(0x29A, 2, 12));
        out.lineClocks = std::max<uint32_t>(hmax, 1);
        out.exposureClocks = static_cast<double>(std::max<long long>(lines, 1)) * out.lineClocks;
        out.blankRows = std::max(static_cast<int>(vmax) - out.height, 0);
        const double gain = decibelTenthsGain(field(0x404, 2, 9));
        std::fill(std::begin(out.gain), std::end(out.gain), gain);
        return out;
    }

  protected:
    // The full frame, 100 lines of 1000 clocks in a frame of 1254 lines;
    // the unused upper bits of some top registers read set.
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{0x216, 0x00}, {0x217, 0xE6}, {0x218, 0x34}, {0x21A, 0xE8}, {0x21B, 0x03},
                {0x22F, 0x00}, {0x232, 0x00}, {0x276, 0x00}, {0x277, 0x00}, {0x278, 0x00},
                {0x27A, 0x00}, {0x27B, 0x00}, {0x29A, 0x82}, {0x29B, 0xF4}, {0x29C, 0x00},
                {0x29D, 0x00}, {0x301, 0x00}, {0x302, 0x00}, {0x303, 0x00}, {0x304, 0x00},
                {0x305, 0x90}, {0x306, 0x0F}, {0x307, 0xC0}, {0x308, 0x04}, {0x404, 0x00},
                {0x405, 0xFE}, {0x458, 0x3C}, {0x459, 0x00}};
    }
};

const SensorChipRegistrar kRegistrar({86, 87, 92, 93, 106, 107},
                                     []() -> std::unique_ptr<SensorChip> {
                                         return std::make_unique<Imx174>();
                                     });

}  // namespace
}  // namespace usbcam
