// The sensor family with 8-bit register addresses and 16-bit values: the
// register map its members share, the write side effects they all have and
// the decoding of the fields that mean the same on every member. A chip of
// the family adds its own registers, power-on values and decoding rules.
#pragma once

#include <cstdint>
#include <map>

#include "../sensor_chip.h"

namespace usbcam {

class RegisterFamilyChip : public RegisterBankChip {
  protected:
    // Addresses of the family's registers. A chip has those its power-on
    // values list; a write to any other address fails.
    enum : uint16_t {
        RowStart = 0x01,
        ColumnStart = 0x02,
        RowSize = 0x03,
        ColumnSize = 0x04,
        HorizontalBlank = 0x05,
        VerticalBlank = 0x06,
        ShutterWidthUpper = 0x08,
        ShutterWidthLower = 0x09,
        FrameRestart = 0x0B,
        ShutterDelay = 0x0C,
        ReadMode1 = 0x1E,
        ReadMode2 = 0x20,
        RowAddressMode = 0x22,
        ColumnAddressMode = 0x23,
        Green1Gain = 0x2B,
        BlueGain = 0x2C,
        RedGain = 0x2D,
        Green2Gain = 0x2E,
        GlobalGain = 0x35,
    };

    // The chip's own power-on values joined with those every member shares
    // (vertical blanking, shutter delay, frame restart, colour gains of 1);
    // the chip's own value wins where both name a register.
    static std::map<uint16_t, uint16_t> withFamilyPowerOn(std::map<uint16_t, uint16_t> own);

    // The global gain sets all four colour gains; the frame restart bit
    // clears itself.
    void afterWrite(uint16_t address, uint16_t value) override;

    // Read mode 2: bit 15 flips the rows, bit 14 mirrors the columns.
    void decodeOrientation(SensorReadout& out) const;
    // Skip and binning from the row and column address-mode registers.
    void decodeAddressModes(SensorReadout& out) const;
    // The red, green 1, green 2 and blue gain registers through the chip's
    // gain law.
    void decodeGains(SensorReadout& out, double (*gainFactor)(uint16_t)) const;
};

// Analogue gain: bits 0-5 the gain in eighths, bit 6 doubles it.
double familyAnalogueGain(uint16_t value);
// The analogue gain times a digital gain of 1 + n / 8 in bits 8-14.
double familyGainFactor(uint16_t value);

// Address-mode registers: bits 0-2 the skip code (0, 1, 2, 3, 7 for 1, 2, 3,
// 4, 8), bits 4-5 the bin code (bin = code + 1).
int addressModeSkip(uint16_t mode);
int addressModeBin(uint16_t mode);

}  // namespace usbcam
