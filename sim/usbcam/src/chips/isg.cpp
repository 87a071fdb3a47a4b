// The ISG sensors (ISG1307, ISG4006A, ISG4006): byte registers at 16-bit
// addresses, wider fields in consecutive registers with the most
// significant byte at the lower address. The chip reads whole lines from
// row START1 for NUM_LINES rows; its exposure is a count of units of a fixed
// number of pixel clocks (3210 on the ISG1307, whose unit is 321 / (pixel
// clock / 10) us; 2580 on the others); its PGA register holds the gain step
// (gain 1 + step / 8). One register bit flips the rows. On the cameras of
// the ISG1307 and ISG4006A the FPGA crops the columns: the first in its
// register 43 and the width in 44 (0: every column).
#include <algorithm>
#include <memory>

#include "byte_register_chip.h"

namespace usbcam {
namespace {

struct IsgModel {
    int width, height;
    uint16_t gain;
    int gainShift, gainBits;
    uint16_t startLow, rowsLow;
    int fieldBits;
    uint16_t exposureLow;
    int exposureBytes, exposureBits;
    uint16_t flip;
    uint8_t flipBit;
    bool flipBitSetWhenFlipped;
    int unitClocks;
    bool fpgaCropsColumns;
    // Registers besides the fields, with their power-on values.
    std::map<uint16_t, uint16_t> others;
};

const IsgModel kIsg1307 = {1280, 1024,  0x1E, 0,     5,    0x15B, 0x159,          12, 0x194, 3,
                           24,   0x185, 0x40, false, 3210, true,  {{0x196, 0x01}}};
const IsgModel kIsg4006A = {2048, 2048, 0x17,  0,    5,     0x10E, 0x10C, 12, 0x146,
                            3,    24,   0x138, 0x40, false, 2580,  true,  {}};
const IsgModel kIsg4006 = {2040,
                           2048,
                           0x05,
                           1,
                           4,
                           0x3C,
                           0x3A,
                           13,
                           0x32,
                           4,
                           27,
                           0x60,
                           0x01,
                           true,
                           2580,
                           false,
                           {{0x1D, 0x40}, {0x1C, 0x02}}};

class IsgChip final : public ByteRegisterChip {
  public:
    explicit IsgChip(const IsgModel& model) : m_(model) {}

    int adcBits() const override { return 10; }

    SensorReadout readout() const override {
        SensorReadout out;
        out.arrayWidth = out.width = m_.width;
        out.arrayHeight = m_.height;
        out.rowStart = static_cast<int>(descending(m_.startLow, 2, m_.fieldBits));
        out.height = static_cast<int>(descending(m_.rowsLow, 2, m_.fieldBits));
        out.flip = ((reg(m_.flip) & m_.flipBit) != 0) == m_.flipBitSetWhenFlipped;
        out.lineClocks = m_.unitClocks;
        out.exposureClocks = std::max<double>(
            static_cast<double>(descending(m_.exposureLow, m_.exposureBytes, m_.exposureBits)) *
                m_.unitClocks,
            1);
        const int step = (reg(m_.gain) >> m_.gainShift) & ((1 << m_.gainBits) - 1);
        std::fill(std::begin(out.gain), std::end(out.gain), 1 + step / 8.0);
        return out;
    }

    void applyFpgaTiming(SensorReadout& out, const FpgaRegisters& fpga) const override {
        if (m_.fpgaCropsColumns && fpga.read(44) != 0) {
            out.colStart = std::min<int>(fpga.read(43), out.width);
            out.width = std::min<int>(fpga.read(44), out.width - out.colStart);
        }
    }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override {
        // The whole array, 1000 units of exposure; the bits above the
        // fields read set.
        std::map<uint16_t, uint16_t> regs = m_.others;
        regs[m_.gain] = 0;
        regs[m_.startLow] = 0;
        regs[static_cast<uint16_t>(m_.startLow - 1)] = 0xE0;
        regs[m_.rowsLow] = static_cast<uint16_t>(m_.height & 0xFF);
        regs[static_cast<uint16_t>(m_.rowsLow - 1)] =
            static_cast<uint16_t>(0xE0 | (m_.height >> 8));
        for (int i = 0; i < m_.exposureBytes; ++i) {
            regs[static_cast<uint16_t>(m_.exposureLow - i)] =
                static_cast<uint16_t>((1000 >> (8 * i)) & 0xFF);
        }
        if (m_.exposureBits % 8 != 0) {
            regs[static_cast<uint16_t>(m_.exposureLow - m_.exposureBytes + 1)] |= 0xF8;
        }
        regs[m_.flip] = m_.flipBitSetWhenFlipped ? 0 : m_.flipBit;
        return regs;
    }

  private:
    // A field whose low byte is at `low` and higher bytes below it.
    uint32_t descending(uint16_t low, int bytes, int bits) const {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            v |= static_cast<uint32_t>(reg(static_cast<uint16_t>(low - i)) & 0xFF) << (8 * i);
        }
        return v & ((uint32_t{1} << bits) - 1);
    }

    const IsgModel& m_;
};

const SensorChipRegistrar kIsg1307Registrar({117, 118}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<IsgChip>(kIsg1307);
});
const SensorChipRegistrar kIsg4006ARegistrar({111, 112}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<IsgChip>(kIsg4006A);
});
const SensorChipRegistrar kIsg4006Registrar({108, 109}, []() -> std::unique_ptr<SensorChip> {
    return std::make_unique<IsgChip>(kIsg4006);
});

}  // namespace
}  // namespace usbcam
