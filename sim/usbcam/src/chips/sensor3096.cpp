// The 3096 x 2080 sensor: byte registers at 16-bit addresses. Window at
// 0x39C (column start, 11 bits), 0x39E (width, 12), 0x3A0 (row start, 12),
// 0x3A2 (height, 13); a readout mode of 0x23 in the low 6 bits of 0x20E reads
// two by two; flip and mirror in 0x20F; line length 0x22F (clocks), frame
// length 0x22C (17 bits), gain 0x21F (9 bits, 0.1 dB steps). The exposure is
// either a shutter start line 0x234 (17 bits) in the last of 0x241 (10
// bits) + 1 frames, or, in the model behind an FPGA that carries the timing
// and window, a line count in 0x237.
#include <algorithm>

#include "byte_register_chip.h"

namespace usbcam {
namespace {

class Sensor3096 final : public ByteRegisterChip {
  public:
    explicit Sensor3096(bool countsLines) : countsLines_(countsLines) {}
    int adcBits() const override { return 12; }
    bool fpgaCropsOutput() const override { return countsLines_; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 3096;
        out.arrayHeight = 2080;
        out.colStart = static_cast<int>(field(0x39C, 2, 11));
        out.width = static_cast<int>(field(0x39E, 2, 12));
        out.rowStart = static_cast<int>(field(0x3A0, 2, 12));
        out.height = static_cast<int>(field(0x3A2, 2, 13));
        const bool twoByTwo = (reg(0x20E) & 0x3F) == 0x23;
        out.colSkip = out.rowSkip = twoByTwo ? 2 : 1;
        out.flip = (reg(0x20F) & 0x01) != 0;
        out.mirror = (reg(0x20F) & 0x02) != 0;
        const long long frame = field(0x22C, 3, 17);
        const long long lines = countsLines_
                                    ? static_cast<long long>(field(0x237, 2, 16))
                                    : (static_cast<long long>(field(0x241, 2, 10)) + 1) * frame -
                                          static_cast<long long>(field(0x234, 3, 17));
        out.lineClocks = std::max<uint32_t>(field(0x22F, 2, 16), 1);
        out.exposureClocks = static_cast<double>(std::max<long long>(lines, 1)) * out.lineClocks;
        out.blankRows = std::max(static_cast<int>(frame) - out.outputHeight(), 0);
        const double gain = decibelTenthsGain(field(0x21F, 2, 9));
        std::fill(std::begin(out.gain), std::end(out.gain), gain);
        return out;
    }

  protected:
    // The full frame in full readout: lines of 3096 / 4 + 401 = 1175
    // clocks, frames of 2080 + 30 lines, 100 lines of exposure. Unused bits
    // of the top registers read set.
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{0x20D, 0x01}, {0x20E, 0x00}, {0x20F, 0x00}, {0x210, 0x00}, {0x215, 0x00},
                {0x216, 0xF0}, {0x21B, 0x00}, {0x21F, 0x00}, {0x220, 0xFE}, {0x22C, 0x3E},
                {0x22D, 0x08}, {0x22E, 0xF0}, {0x22F, 0x97}, {0x230, 0x04}, {0x234, 0xDA},
                {0x235, 0x07}, {0x236, 0xF0}, {0x237, 0x64}, {0x238, 0x00}, {0x241, 0x00},
                {0x242, 0xFC}, {0x39C, 0x00}, {0x39D, 0xF8}, {0x39E, 0x18}, {0x39F, 0xFC},
                {0x3A0, 0x00}, {0x3A1, 0xF0}, {0x3A2, 0x20}, {0x3A3, 0xE8}};
    }

  private:
    bool countsLines_;
};

const SensorChipRegistrar kShutterRegistrar({88, 89}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor3096>(false);
});
const SensorChipRegistrar kCountingRegistrar({121}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor3096>(true);
});

}  // namespace
}  // namespace usbcam
