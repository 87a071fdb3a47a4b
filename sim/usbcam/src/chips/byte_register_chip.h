// Chips with byte-wide registers at 16-bit addresses. A register holds 8
// bits; a read answers a word whose high byte is whatever the bus carries
// (never 0 here, so a reader must take only the low byte). A quantity wider
// than a byte lies in consecutive registers, least significant first, and
// its top register carries only the bits the quantity needs: the chip keeps
// whatever is written to the other bits but ignores them.
#pragma once

#include <cstdint>
#include <map>

#include "../sensor_chip.h"

namespace usbcam {

class ByteRegisterChip : public RegisterBankChip {
  public:
    bool readRegister(uint16_t address, uint16_t* value) const override;
    bool writeRegister(uint16_t address, uint16_t value) override;

  protected:
    // The quantity in nBytes registers from low, limited to nBits.
    uint32_t field(uint16_t low, int nBytes, int nBits) const;
    // Gain code in steps of 0.1 dB as a factor.
    static double decibelTenthsGain(uint32_t code);
};

}  // namespace usbcam
