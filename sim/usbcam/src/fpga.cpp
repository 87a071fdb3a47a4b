#include "fpga.h"

namespace usbcam {

namespace {
constexpr uint16_t kIoStatus = 30;
constexpr uint16_t kVersionStatus = 128;
constexpr uint16_t kVersionStatusEx = 241;
}  // namespace

void FpgaRegisters::powerOn() {
    bool inputHigh = (regs_[kIoStatus] & 1) != 0;
    regs_.fill(0);
    regs_[8] = 1;  // one frame per transfer
    setInputLevel(inputHigh);
}

uint16_t FpgaRegisters::registerForReadAddress(uint16_t address) {
    if (address == 0xFF) {
        return 0;
    }
    if (address >= 0x81 && address <= 0xEF) {
        return static_cast<uint16_t>(address - 0x80);
    }
    return address;
}

uint16_t FpgaRegisters::read(uint16_t reg) const {
    if (reg == kVersionStatus) {
        // Version byte h in bits 8-15: major * 32 + minor * 4 while it fits
        // (major up to 6, minor up to 7), else 224 and the full version in
        // register 241. Bits 2-3 report the trigger status.
        int major = version_ >> 8;
        int minor = version_ & 0xFF;
        int h = (major <= 6 && minor <= 7) ? major * 32 + minor * 4 : 224;
        return static_cast<uint16_t>(h << 8 | triggerStatus_ << 2);
    }
    if (reg == kVersionStatusEx) {
        return version_;
    }
    return reg < regs_.size() ? regs_[reg] : 0;
}

void FpgaRegisters::write(uint16_t reg, uint16_t value) {
    if (reg >= regs_.size() || reg == kVersionStatus || reg == kVersionStatusEx) {
        return;  // read-only
    }
    if (reg == kIoStatus) {
        // Bit 0 is the input pin; only the output level (bit 8) is written.
        value = static_cast<uint16_t>((value & 0x0100) | (regs_[kIoStatus] & 1));
    }
    regs_[reg] = value;
}

void FpgaRegisters::setInputLevel(bool high) {
    regs_[kIoStatus] = static_cast<uint16_t>((regs_[kIoStatus] & ~1u) | (high ? 1 : 0));
}

}  // namespace usbcam
