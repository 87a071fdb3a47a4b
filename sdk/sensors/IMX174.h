// CIMX174: the unit of the 1936 x 1216 IMX174 sensor (device types 86, 87,
// 92, 93, 106 and 107). Its exposure writes hold the bus lock.
#pragma once

#include "sensors/MultiFrameShutterUnit.h"

class CIMX174 final : public CMultiFrameShutterUnit {
  public:
    CIMX174(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType);

    // HMAX by type from the window width: 92/93 width + 16, 86/87 width / 2
    // + 24, both at least 608; 106/107 always 608.
    int UpdateHMAX() override;
    // Column start and width to multiples of 8, row start and height to
    // multiples of 2, clamped to the limits; RET_NOTSUPPORT for a column
    // mode whose skip bit is clear.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;

  private:
    uint32_t FrameOverheadLines() const override { return 38; }
};
