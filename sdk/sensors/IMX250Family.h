// The IMX250 family: IMX250 (2464 x 2056; device types 94, 95, 104, 105),
// IMX265 (2064 x 1544; 119, 120) and IMX287 (728 x 544; 113, 114). One
// register map (a 20-bit frame length and shutter line, the window at
// 0x510-0x517); the members differ in the bits their top registers keep,
// the line length rule and the frame overhead.
#pragma once

#include "sensors/MultiFrameShutterUnit.h"

class CIMX250Family : public CMultiFrameShutterUnit {
  public:
    // Start and size to multiples of 4, clamped to the limits; both modes
    // need their skip bit (RET_NOTSUPPORT).
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;

  protected:
    CIMX250Family(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                  SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType,
                  const wchar_t* pszUnit, bool bMaskedTops, bool bDumpRule, RoiLimits roi);
};

class CIMX250 final : public CIMX250Family {
  public:
    CIMX250(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType);
    // 94/95: width / 2 + 200 below 1024, else width / 2 + 24; 104/105:
    // 2 x (width / 8 + 12), at least 519; RET_NOTSUPPORT for other types.
    int UpdateHMAX() override;

  private:
    uint32_t FrameOverheadLines() const override { return 38; }
};

class CIMX265 final : public CIMX250Family {
  public:
    CIMX265(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType);
    // 2 x (width / 4 + 16) from a width of 976, else 519.
    int UpdateHMAX() override;

  private:
    uint32_t FrameOverheadLines() const override { return 32; }
};

class CIMX287 final : public CIMX250Family {
  public:
    CIMX287(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType);
    // The line length does not depend on the width: nothing to write.
    int UpdateHMAX() override { return RET_SUCCESS; }

  private:
    uint32_t FrameOverheadLines() const override { return 42; }
};
