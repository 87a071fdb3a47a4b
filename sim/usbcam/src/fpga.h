// The camera's FPGA register file: 256 16-bit registers with the read
// address map of the FPGA bus and the registers that are not plain storage.
#pragma once

#include <array>
#include <cstdint>

namespace usbcam {

class FpgaRegisters {
  public:
    explicit FpgaRegisters(uint16_t version) : version_(version) { powerOn(); }

    void powerOn();
    // Register behind a read address: 0xFF is register 0, 0x81 .. 0xEF are
    // registers 1 .. 111, every other address is the register itself.
    static uint16_t registerForReadAddress(uint16_t address);
    uint16_t read(uint16_t reg) const;
    // Plain store; the camera handles the side effects of register 0.
    void write(uint16_t reg, uint16_t value);

    uint16_t workingMode() const { return regs_[0]; }
    void setInputLevel(bool high);
    void setTriggerStatus(int bits) { triggerStatus_ = static_cast<uint16_t>(bits & 3); }

  private:
    uint16_t version_;
    uint16_t triggerStatus_ = 0;
    std::array<uint16_t, 256> regs_{};
};

}  // namespace usbcam
