// CIMX183: the unit of the 5472 x 3648 IMX183 sensor (device types 102, 103
// and 123): full or two-by-two readout (MDSEL1-4); with a new FPGA (type
// 123, or FPGA version 20 and later) the FPGA crops a free window out of
// it. Global-reset firmware: type 123, or firmware 20.20 and later.
#pragma once

#include "sensors/GlobalResetUnit.h"

class CIMX183 final : public CGlobalResetUnit {
  public:
    static constexpr int kWidth = 5472;
    static constexpr int kHeight = 3648;

    CIMX183(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
            int32_t nDeviceType);

    int Init() override;
    bool HasGlobalReset() const override;
    bool HasNewFpga() const;
    bool TwoByTwo() const;

    // RET_PARAMERROR for a negative time.
    int SetPreExposureTime(float fMs) override;
    // In a trigger mode on global-reset firmware: the request becomes the
    // global-reset flag and the pre-exposure is set up under the bus lock;
    // RET_NOTSUPPORT otherwise.
    int SetGlobalResetShutter(bool bOn) override;

    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    void SetTimingOfMode(uint8_t byMode) override;
    int WriteModeTiming(uint8_t* pbChanged) override;
    bool PreExposureApplies() const override;
};
