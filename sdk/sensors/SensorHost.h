// ISensorHost: what a sensor unit asks of its device beyond the sensor's own
// registers: the FPGA registers that carry the sensor's timing or window,
// the camera's frame buffer and the identity the unit's rules depend on.
#pragma once

#include <cstdint>

class ISensorHost {
  public:
    // An FPGA register through its shadow (nothing sent when equal):
    // 1 or the failure; *pbChanged (may be null) set to 1 on a write.
    virtual int FpgaWrite(int nRegister, uint16_t wValue, uint8_t* pbChanged = nullptr) = 0;
    // The shadow of an FPGA register (0 for one without a shadow).
    virtual uint16_t FpgaShadow(int nRegister) const = 0;
    // Empties the camera's frame buffer: 1 or the failure.
    virtual int EmptyCameraFrameBuffer() = 0;
    // Firmware and FPGA version, major << 8 | minor.
    virtual uint16_t FirmwareVersionWord() const = 0;
    virtual uint16_t FpgaVersionWord() const = 0;
    // Waits while a sensor mode settles.
    virtual void SettleSensor(uint32_t nMs) = 0;

  protected:
    ~ISensorHost() = default;
};
