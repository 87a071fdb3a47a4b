// The camera's non-volatile memory: 8 KiB (kind 0), 256 KiB (kind 1) or
// 16 KiB (kind 2), erased to 0xFF. Addresses wrap at the memory's size; a
// block write stays inside its 256-byte page and wraps to the page start, as
// the part's page buffer does.
#pragma once

#include <cstdint>
#include <vector>

namespace usbcam {

class Eeprom {
  public:
    static constexpr uint32_t kPageSize = 256;

    explicit Eeprom(int kind);
    uint32_t size() const { return static_cast<uint32_t>(bytes_.size()); }
    bool supportsBlocks() const { return kind_ != 0; }

    uint8_t readByte(uint32_t address) const { return bytes_[address % size()]; }
    void writeByte(uint32_t address, uint8_t value) { bytes_[address % size()] = value; }
    // Sequential read; crosses pages freely.
    void readBlock(uint32_t address, uint8_t* out, uint32_t length) const;
    // Page write: byte i lands at page start + (offset + i) mod 256.
    void writePage(uint32_t address, const uint8_t* data, uint32_t length);
    // The whole memory, as a memory image file holds it; assign refuses
    // (false, nothing changed) an image of another size.
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    bool assign(const std::vector<uint8_t>& image);

  private:
    int kind_;
    std::vector<uint8_t> bytes_;
};

}  // namespace usbcam
