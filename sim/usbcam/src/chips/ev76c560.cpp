// EV76C560: CMOS sensor of 1600 x 1200 or 1280 x 1024 pixels, 8-bit register
// addresses, 16-bit values, with a pixel clock of its own.
//
// Clock: CLK_CFG selects the source in bits 10-11 (when bit 12 is set) or
// bits 8-9: none, 96 MHz, the internal oscillator of PRG_OSC or the PLL of
// PLL_CFG; bits 4-7 divide it (0 counts as 1). Oscillator: 1 / (0.53404 us /
// (PRG_OSC bits 0-6 + 36) + 3.4 ns); PLL: 96 MHz x 2 (m + 1) / (2 (n + 1)
// (p + 1)) with m in bits 0-7, n in bits 8-12 and p in bits 13-14.
//
// A line lasts LINE_CFG bits 0-10 x 8 clocks. Exposure: ROI1_T_INT_LL lines,
// or in line mode (LINE_MODE bit 11) one line. Window: ROI1_OC_1 - 6,
// ROI1_OL_1 - 6, ROI1_W_1 x ROI1_H_1, subsampled by the codes of
// ROI1_SUBS_V_H (high byte columns, low byte rows: 0x08 by 2, 0x10 by 3,
// 0x18 by 4, 0x38 by 8); MISCEL2 bit 6 flips, bit 7 mirrors.
#include <algorithm>
#include <memory>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

class Ev76c560 final : public RegisterBankChip {
  public:
    Ev76c560(int width, int height, uint16_t pllCfg)
        : width_(width), height_(height), pllCfg_(pllCfg) {}

    int adcBits() const override { return 10; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = width_;
        out.arrayHeight = height_;
        out.colStart = (reg(OC) & 0x7FF) - 6;
        out.rowStart = (reg(OL) & 0x7FF) - 6;
        out.width = reg(W) & 0x7FF;
        out.height = reg(H) & 0x7FF;
        out.colSkip = subsampling(reg(Subs) >> 8);
        out.rowSkip = subsampling(reg(Subs) & 0xFF);
        out.flip = (reg(Miscel2) & 0x0040) != 0;
        out.mirror = (reg(Miscel2) & 0x0080) != 0;
        out.lineClocks = std::max((reg(LineCfg) & 0x7FF) * 8, 8);
        const bool lineMode = (reg(LineMode) & 0x0800) != 0;
        out.exposureClocks =
            std::max<double>((lineMode ? 1.0 : static_cast<double>(reg(TInt))) * out.lineClocks, 1);
        out.pixelClockMHz = clockHz() / 1e6;
        std::fill(std::begin(out.gain), std::end(out.gain), (reg(Gain) & 0xFF) / 32.0);
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        // The full window, 1664 clocks a line, 100 lines; the PLL divided by
        // 2 to the model's pixel clock.
        return {{LineCfg, 208},
                {Miscel1, 0},
                {Miscel2, 0},
                {ClkCfg, 0x0320},
                {PllCfg, pllCfg_},
                {ChainCfg, 0},
                {CtrlCfg, 0},
                {TInt, 100},
                {Gain, 32},
                {OL, 6},
                {H, static_cast<uint16_t>(height_)},
                {OC, 6},
                {W, static_cast<uint16_t>(width_)},
                {Subs, 0},
                {GainGbGr, 0x2020},
                {GainBR, 0x2020},
                {PrgOsc, 0x40},
                {PixTime, 0},
                {LineMode, 0}};
    }

  private:
    enum : uint16_t {
        LineCfg = 0x04,
        Miscel1 = 0x06,
        Miscel2 = 0x07,
        ClkCfg = 0x08,
        PllCfg = 0x09,
        ChainCfg = 0x0A,
        CtrlCfg = 0x0B,
        TInt = 0x0E,
        Gain = 0x11,
        OL = 0x12,
        H = 0x13,
        OC = 0x14,
        W = 0x15,
        Subs = 0x1A,
        GainGbGr = 0x36,
        GainBR = 0x37,
        PrgOsc = 0x3A,
        PixTime = 0x49,
        LineMode = 0x76,
    };

    static int subsampling(int code) {
        switch (code) {
            case 0x08:
                return 2;
            case 0x10:
                return 3;
            case 0x18:
                return 4;
            case 0x38:
                return 8;
            default:
                return 1;
        }
    }

    double clockHz() const {
        const uint16_t clk = reg(ClkCfg);
        const uint16_t pll = reg(PllCfg);
        const double oscillator = 1.0 / (0.53404e-6 / ((reg(PrgOsc) & 0x7F) + 36) + 3.4e-9);
        const double pllHz = 96e6 * 2 * ((pll & 0xFF) + 1) /
                             (2.0 * (((pll >> 8) & 0x1F) + 1) * (((pll >> 13) & 3) + 1));
        const int source = (clk & 0x1000) ? (clk >> 10) & 3 : (clk >> 8) & 3;
        const double hz[4] = {0, 96e6, oscillator, pllHz};
        const int divider = (clk >> 4) & 0xF;
        // A chip without a clock sends nothing; keep the read-out finite.
        return std::max(hz[source] / (divider ? divider : 1), 1.0);
    }

    const int width_;
    const int height_;
    const uint16_t pllCfg_;
};

// The PLL at 114 MHz (57 MHz pixels) or, on the later models, at 96 MHz
// (48 MHz pixels).
constexpr uint16_t kPll114 = 0x2712;
constexpr uint16_t kPll96 = 0x0707;

const SensorChipRegistrar kLarge({64, 65}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Ev76c560>(1600, 1200, kPll114);
});
const SensorChipRegistrar kSmall({58, 59}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Ev76c560>(1280, 1024, kPll114);
});
const SensorChipRegistrar kLargeLater({83, 84}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Ev76c560>(1600, 1200, kPll96);
});
const SensorChipRegistrar kSmallLater({81, 82}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Ev76c560>(1280, 1024, kPll96);
});

}  // namespace
}  // namespace usbcam
