// CGpio: the camera's general-purpose I/O and snap button. Cameras whose
// FPGA has the normal GPIO registers (bmGpioNormal) use registers 29-31;
// the others drive pins of the USB controller's ports directly, at the pins
// their board's layout bits name.
#pragma once

#include <cstdint>

#include "device/FpgaRegisters.h"

class CGpio {
  public:
    CGpio(CFpgaRegisters& fpga, CVendorRequests& vendor, const DeviceCapability& capability);
    CGpio(const CGpio&) = delete;
    CGpio& operator=(const CGpio&) = delete;

    // Direction: bit 0 input, bit 1 output. Status: bit 0 input level, bit 1
    // output level.
    int SetDirection(int nDirection);
    int GetDirection(uint8_t* pDirection);
    int SetStatus(int nStatus);
    int GetStatus(uint8_t* pStatus);
    int InModeSet(int nMode);
    int InModeGet(int* pMode) const;
    int OutModeSet(int nMode);
    int OutModeGet(int* pMode) const;
    int OutStatusSet(int nLevel);
    int InStatusGet(uint8_t* pStatus);
    int FilterSet(uint16_t wValue);
    int FilterGet(uint16_t* pValue) const;
    // 1 while the snap button is pressed, else 0.
    int SnapButtonStatus(int* pPressed);

  private:
    struct PinLayout {
        const CapField* pField;
        uint8_t bySfrData, bySfrEnable;
        int nShift, nShiftWithSnap;
    };
    static const PinLayout kLayouts[7];
    const PinLayout* FirstLayout() const;
    int Shift(const PinLayout& layout) const;
    int InputMode() const { return m_Fpga.Shadows().IoMode & 3; }
    int OutputMode() const { return (m_Fpga.Shadows().IoMode >> 8) & 3; }
    bool FpgaGpio() const { return m_Capability.Has(FpgaCap::bmGpioNormal); }

    CFpgaRegisters& m_Fpga;
    CVendorRequests& m_Vendor;
    const DeviceCapability& m_Capability;
};
