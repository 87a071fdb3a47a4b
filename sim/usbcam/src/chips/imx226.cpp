// IMX226: CMOS sensor of 4152 x 3046 pixels with byte registers at 16-bit
// addresses. Register 0x04 picks the read-out: 0 the centred 4072 x 3046
// frame (lines of 2184 clocks, frames of 3120 lines), 128 a centred
// 4152 x 2160 window (2216-line frames), 137 that window two by two (lines
// of 628 clocks, 2224-line frames).
#include "global_reset_chip.h"

namespace usbcam {
namespace {

class Imx226 final : public GlobalResetChip {
  public:
    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = 4152;
        out.arrayHeight = 3046;
        if (mode() == 0) {
            out.colStart = (4152 - 4072) / 2;
            out.width = 4072;
            out.height = 3046;
        } else {
            out.rowStart = (3046 - 2160) / 2;
            out.width = 4152;
            out.height = 2160;
        }
        out.colSkip = out.rowSkip = mode() == 137 ? 2 : 1;
        decodeTiming(out);
        return out;
    }

  protected:
    int frameLines() const override { return mode() == 128 ? 2216 : mode() == 137 ? 2224 : 3120; }
    int lineClocks() const override { return mode() == 137 ? 628 : 2184; }
    // Full frame, 100 lines of exposure.
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        return {{0x04, 0},    {0x05, 7},    {0x08, 0x00}, {0x09, 0x00}, {0x0A, 0x00}, {0x0B, 0xCC},
                {0x0C, 0x0B}, {0x0D, 0x00}, {0x0E, 0x00}, {0x0F, 0x00}, {0x10, 0x00}, {0x11, 0x00},
                {0x12, 0x00}, {0x1A, 0x00}, {0x45, 0x32}, {0xB6, 71}};
    }

  private:
    // Values other than the window modes read the full frame.
    int mode() const {
        const int m = reg(0x04) & 0xFF;
        return m == 128 || m == 137 ? m : 0;
    }
};

const SensorChipRegistrar kRegistrar({96, 97, 122}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Imx226>();
});

}  // namespace
}  // namespace usbcam
