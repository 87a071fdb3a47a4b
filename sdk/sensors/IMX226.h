// CIMX226: the unit of the IMX226 sensor (device types 96, 97 and 122): the
// full 4072 x 3046 frame, or a 4152 x 2160 window read whole or two by two
// (registers 0x04, 0x05 and 0xB6). It programs its start-up values at init.
// Global-reset firmware: type 122, or firmware 20 and later.
#pragma once

#include "sensors/GlobalResetUnit.h"

class CIMX226 final : public CGlobalResetUnit {
  public:
    CIMX226(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
            int32_t nDeviceType);

    // The start-up values into the shadow and the chip (the first failing
    // write is returned), the global-reset flag from the chip.
    int Init() override;
    bool HasGlobalReset() const override;

    // A negative time is ignored.
    int SetPreExposureTime(float fMs) override;
    // In a trigger mode on global-reset firmware: the request becomes the
    // global-reset flag and the pre-exposure is set up under the bus lock;
    // RET_NOTSUPPORT otherwise.
    int SetGlobalResetShutter(bool bOn) override;

    // Starts 0, 0 only; mode 1 is the window read two by two, mode 0 takes
    // the window or the full frame; modes that differ RET_PARAMERROR.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    // Always the full frame.
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    void SetTimingOfMode(uint8_t byMode) override;
    int WriteModeTiming(uint8_t* pbChanged) override;
};
