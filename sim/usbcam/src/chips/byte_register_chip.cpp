#include "byte_register_chip.h"

#include <cmath>

namespace usbcam {

namespace {
// The high byte of every register read.
constexpr uint16_t kBusHighByte = 0xA500;
}  // namespace

bool ByteRegisterChip::readRegister(uint16_t address, uint16_t* value) const {
    uint16_t byte = 0;
    if (!RegisterBankChip::readRegister(address, &byte)) {
        return false;
    }
    *value = static_cast<uint16_t>(kBusHighByte | (byte & 0xFF));
    return true;
}

bool ByteRegisterChip::writeRegister(uint16_t address, uint16_t value) {
    return RegisterBankChip::writeRegister(address, static_cast<uint16_t>(value & 0xFF));
}

uint32_t ByteRegisterChip::field(uint16_t low, int nBytes, int nBits) const {
    uint32_t v = 0;
    for (int i = 0; i < nBytes; ++i) {
        v |= static_cast<uint32_t>(reg(static_cast<uint16_t>(low + i)) & 0xFF) << (8 * i);
    }
    return nBits >= 32 ? v : v & ((uint32_t{1} << nBits) - 1);
}

double ByteRegisterChip::decibelTenthsGain(uint32_t code) {
    return std::pow(10.0, static_cast<double>(code) / 200.0);
}

}  // namespace usbcam
