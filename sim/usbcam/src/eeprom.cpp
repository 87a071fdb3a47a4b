#include "eeprom.h"

namespace usbcam {

namespace {
uint32_t sizeOfKind(int kind) {
    switch (kind) {
        case 1:
            return 256 * 1024;
        case 2:
            return 16 * 1024;
        default:
            return 8 * 1024;
    }
}
}  // namespace

Eeprom::Eeprom(int kind) : kind_(kind), bytes_(sizeOfKind(kind), 0xFF) {}

void Eeprom::readBlock(uint32_t address, uint8_t* out, uint32_t length) const {
    for (uint32_t i = 0; i < length; ++i) {
        out[i] = readByte(address + i);
    }
}

void Eeprom::writePage(uint32_t address, const uint8_t* data, uint32_t length) {
    uint32_t page = address / kPageSize * kPageSize;
    uint32_t offset = address % kPageSize;
    for (uint32_t i = 0; i < length; ++i) {
        writeByte(page + (offset + i) % kPageSize, data[i]);
    }
}

bool Eeprom::assign(const std::vector<uint8_t>& image) {
    if (image.size() != bytes_.size()) {
        return false;
    }
    bytes_ = image;
    return true;
}

}  // namespace usbcam
