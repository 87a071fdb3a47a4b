// CTestCam: the unit of the test camera, which has no sensor registers: its
// FPGA reports the size of the frames it sends (read addresses 129 and 130)
// and nothing can change it, so every window is that frame.
#pragma once

#include <cstdint>

#include "capability/DeviceCapability.h"
#include "common/Log.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/VendorRequests.h"

class CTestCam final : public CSensorUnit {
  public:
    CTestCam(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state);

    // The frame size from the FPGA: 1, RET_NOTSUPPORT when the FPGA cannot be
    // read, or the read's failure (the size then stays 0 x 0).
    int Init() override;

    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    // One FPGA read with the unit's checks: 1 or the failure.
    int ReadFpga(uint8_t byReadAddress, uint16_t* pValue) const;

    CVendorRequests& m_Vendor;
    const DeviceCapability& m_Capability;
    CLog* const& m_rpLog;
    SensorState& m_State;
};
