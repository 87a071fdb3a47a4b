// CSensor3096: the unit of the 3096 x 2080 sensor (device types 88, 89 and
// 121). On 88 and 89 the exposure is a shutter start line inside the last
// of (extra frames + 1) frames; on 121 the chip counts exposure lines itself
// and the FPGA carries the exposure, frame length, line length and output
// window. A two-by-two readout mode halves the frame. The unit logs no
// register dump; a write to an address outside its list goes to the chip
// unshadowed.
#pragma once

#include "sensors/ByteRegisterUnit.h"
#include "sensors/SensorHost.h"

class CSensor3096 final : public CByteRegisterUnit {
  public:
    CSensor3096(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
                int32_t nDeviceType);

    int Init() override;
    int64_t Lines() const;
    uint32_t LineLength() const;
    uint32_t FrameLength() const;
    bool TwoByTwo() const;

    int SetExposureLines(int nLines) override { return SetExposureLines(int64_t{nLines}); }
    // 88/89: lines clamped to 1 .. frame length x 1024 and split; 121:
    // clamped to 7 .. 65535, counted by the chip and the FPGA, the frame at
    // least that long.
    int SetExposureLines(int64_t nLines);
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    // The requested exposure time as lines of the current line length.
    int ReapplyExposureTime();

    // Vertical flip (not on 121) and mirror in 0x20F; nothing is sent when
    // the bit already has the requested value.
    int SetFlip(bool bFlip) override;
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override;
    int GetMirror(bool* pbMirror) const override;

    // Up to 510 when the range select read nonzero at init, else 480.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // The FPGA's strobe output.
    int SetStrobeEnable(bool bOn) override;
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override;
    int GetStrobeInvert(bool* pbInvert) const override;

    // RET_PARAMERROR for modes that differ or exceed 4, RET_NOTSUPPORT for a
    // mode without its skip bit; starts rounded down (columns to 4, rows to
    // 2), sizes up, clamped; the frame budget on the output size.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;
    // The window, then the readout mode of the row mode (0 full, 1
    // two-by-two, others RET_NOTSUPPORT); on 121 also the FPGA's output
    // window and timing, then the frame buffer is emptied.
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    bool CountsLines() const { return m_nDeviceType == 121; }
    void OnRegisterWritten(uint16_t wAddress) override;
    int OnUnlistedWrite(uint16_t wAddress, uint8_t byValue) override;
    void UpdateCurrentExposureTime();
    int UpdateLineLength();
    int UpdateFrameLength();
    // 121: the frame at least as long as the exposure, chip and FPGA.
    int WriteCountedFrameLength();
    int SetReadoutBit(uint8_t byBit, bool bOn);
    int WriteReadoutMode(int nRowMode, uint8_t* pbChanged);

    ISensorHost& m_Host;
    bool m_bGain510 = false;
};
