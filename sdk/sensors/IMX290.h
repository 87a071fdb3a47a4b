// CIMX290: the unit of the 1944 x 1096 IMX290 sensor (device types 115,
// 116). Exposure lines = VMAX - SHS - 1 (18-bit frame length and shutter
// line); an exposure longer than the window's shortest frame stretches the
// frame. Every register is kept and compared whole.
#pragma once

#include "sensors/ByteRegisterUnit.h"

class CIMX290 final : public CByteRegisterUnit {
  public:
    static constexpr int64_t kMaxLines = 262141;
    static constexpr int kMaxGain = 210;

    CIMX290(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, plat::CriticalSection& busLock, int32_t nDeviceType);

    int Init() override;
    int64_t Lines() const;
    uint32_t Hmax() const;
    uint32_t Vmax() const;
    uint32_t Shs() const;

    int SetExposureLines(int nLines) override { return SetExposureLines(int64_t{nLines}); }
    // Lines clamped to 1 .. 262141; VMAX (under the bus lock) then SHS.
    int SetExposureLines(int64_t nLines);
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    int SetFlip(bool bFlip) override { return SetReverseBit(0x01, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetReverseBit(0x02, bMirror); }
    int GetMirror(bool* pbMirror) const override;

    int GetGainRange(int* pMin, int* pMax) const override;
    // GAIN = the gain clamped to 0 .. 210, for every colour.
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // Only the column mode needs its skip bit; start and size to multiples
    // of 4, clamped to the limits.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;
    // Each value in the low 11 bits of its register pair (the upper bits
    // kept); *pbChanged (cleared first, may be null) tells whether a size
    // changed.
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    void OnRegisterWritten(uint16_t wAddress) override;
    void UpdateCurrentExposureTime();
    int SetReverseBit(uint8_t byBit, bool bOn);
    int WriteWindowValue(Quantity quantity, int nValue, uint8_t* pbChanged);
};
