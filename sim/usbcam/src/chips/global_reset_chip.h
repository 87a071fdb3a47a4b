// Chips whose exposure is a shutter line SHR (0x0B) and extra frames SVR
// (0x0D) against a frame length F and line length L fixed by the readout
// mode: (SVR + 1) x F - SHR lines. Behind firmware with a global-reset
// shutter the FPGA carries the timing once it has a frame length (register
// 38): lines of register 37 clocks, in a trigger mode the exposure of
// registers 35 and 36, else register 38 - SHR + 1 lines.
#pragma once

#include "byte_register_chip.h"

namespace usbcam {

class GlobalResetChip : public ByteRegisterChip {
  public:
    int adcBits() const override { return 12; }
    bool fpgaCropsOutput() const override { return true; }
    void applyFpgaTiming(SensorReadout& out, const FpgaRegisters& fpga) const override;

  protected:
    // F and L of the readout mode now in the registers.
    virtual int frameLines() const = 0;
    virtual int lineClocks() const = 0;
    // Exposure, gain (PGC at 0x09, 11 bits, 0.1 dB steps) and flip (0x1A
    // bit 0) into the read-out.
    void decodeTiming(SensorReadout& out) const;
};

}  // namespace usbcam
