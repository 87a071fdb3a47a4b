// The large sensors with registers in the 0x30xx space (16-bit addresses and
// values): 3488 x 2616, 3856 x 2764 and 4608 x 3288 pixels, each with its
// array starting some columns and rows into the window registers.
//
// Window: X_ADDR_START .. X_ADDR_END, Y_ADDR_START .. Y_ADDR_END; the skip
// codes X_ODD_INC and Y_ODD_INC (2n - 1 reads every n-th pixel). READ_MODE
// bit 15 flips, bit 14 mirrors. The chip sets its line length itself: two
// pixels a clock of the columns it reads plus 400 clocks, 200 more while it
// skips rows. Exposure: COARSE_INTEGRATION_TIME lines plus
// FINE_INTEGRATION_TIME clocks. Gains: 1 + code / 32.
#include <algorithm>
#include <memory>

#include "../sensor_chip.h"

namespace usbcam {
namespace {

class Sensor30xx final : public RegisterBankChip {
  public:
    Sensor30xx(int width, int height, int colOffset, int rowOffset)
        : width_(width), height_(height), colOffset_(colOffset), rowOffset_(rowOffset) {}

    int adcBits() const override { return 12; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = width_;
        out.arrayHeight = height_;
        out.colStart = reg(XStart) - colOffset_;
        out.rowStart = reg(YStart) - rowOffset_;
        out.width = std::max(reg(XEnd) - reg(XStart) + 1, 0);
        out.height = std::max(reg(YEnd) - reg(YStart) + 1, 0);
        out.colSkip = skip(reg(XOddInc));
        out.rowSkip = skip(reg(YOddInc));
        out.flip = (reg(ReadMode) & 0x8000) != 0;
        out.mirror = (reg(ReadMode) & 0x4000) != 0;
        out.lineClocks = std::max<int>(reg(LineLength), 1);
        out.exposureClocks =
            std::max<double>(static_cast<double>(reg(Coarse)) * out.lineClocks + reg(Fine), 1);
        out.gain[0] = 1 + reg(RedGain) / 32.0;
        out.gain[1] = 1 + reg(GreenRGain) / 32.0;
        out.gain[2] = 1 + reg(GreenBGain) / 32.0;
        out.gain[3] = 1 + reg(BlueGain) / 32.0;
        return out;
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        // The full array, mirrored, 1000 lines.
        std::map<uint16_t, uint16_t> regs = {
            {YStart, static_cast<uint16_t>(rowOffset_)},
            {XStart, static_cast<uint16_t>(colOffset_)},
            {YEnd, static_cast<uint16_t>(rowOffset_ + height_ - 1)},
            {XEnd, static_cast<uint16_t>(colOffset_ + width_ - 1)},
            {LineLength, 0},
            {Coarse, 1000},
            {Fine, 500},
            {Reset, 0x001C},
            {GreenRGain, 8},
            {RedGain, 8},
            {BlueGain, 8},
            {GreenBGain, 8},
            {ReadMode, 0x4041},
            {Flash, 0},
            {XOddInc, 1},
            {YOddInc, 1},
            {StrobeCtrl, 0x0004}};
        return regs;
    }

    void afterWrite(uint16_t address, uint16_t value) override {
        (void)address;
        (void)value;
        updateLineLength();
    }

  public:
    void powerOn() override {
        RegisterBankChip::powerOn();
        updateLineLength();
    }

  private:
    enum : uint16_t {
        YStart = 0x3002,
        XStart = 0x3004,
        YEnd = 0x3006,
        XEnd = 0x3008,
        LineLength = 0x300C,
        Coarse = 0x3012,
        Fine = 0x3014,
        Reset = 0x301A,
        GreenRGain = 0x302A,
        RedGain = 0x302C,
        BlueGain = 0x302E,
        GreenBGain = 0x3030,
        ReadMode = 0x3040,
        Flash = 0x3046,
        XOddInc = 0x30A2,
        YOddInc = 0x30A6,
        StrobeCtrl = 0x315E,
    };

    static int skip(uint16_t code) { return std::max((code + 1) / 2, 1); }

    void updateLineLength() {
        const int columns = std::max(reg(XEnd) - reg(XStart) + 1, 0) / skip(reg(XOddInc));
        const int line = columns / 2 + 400 + (skip(reg(YOddInc)) > 1 ? 200 : 0);
        setReg(LineLength, static_cast<uint16_t>(std::min(line, 65535)));
    }

    const int width_;
    const int height_;
    const int colOffset_;
    const int rowOffset_;
};

const SensorChipRegistrar kSmall({13, 15, 16, 25, 43}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor30xx>(3488, 2616, 0, 8);
});
const SensorChipRegistrar kMiddle({14, 26, 44, 54, 75}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor30xx>(3856, 2764, 8, 8);
});
const SensorChipRegistrar kLarge({27, 45, 55, 74}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<Sensor30xx>(4608, 3288, 8, 32);
});

}  // namespace
}  // namespace usbcam
