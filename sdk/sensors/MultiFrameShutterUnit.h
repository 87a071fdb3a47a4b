// CMultiFrameShutterUnit: the byte-register units whose exposure is a shutter
// start line SHS inside the last of VIRTUAL_SVS + 1 frames of VMAX lines, at
// HMAX pixel clocks a line (IMX174 and the IMX250 family). Exposure lines =
// (VIRTUAL_SVS + 1) x VMAX - SHS. A unit gives its register map as data and
// its own line length, frame length and window check.
#pragma once

#include <cstdint>

#include "sensors/ByteRegisterUnit.h"

class CMultiFrameShutterUnit : public CByteRegisterUnit {
  public:
    struct Map {
        Quantity hmax, vmax, shs, svs, gain, blackLevel;
        Quantity colStart, rowStart, width, height;
        uint16_t wToutSel, wTrigToutSel, wPulse1Set;
        Quantity pulse1Up, pulse1Dn;
        uint16_t wReverse;
        RoiLimits roi;
        bool bExposureUnderBusLock;  // the exposure writes hold the bus lock
    };
    static constexpr int kMaxGain = 480;

    int Init() override;

    int64_t Lines() const;
    uint32_t Hmax() const { return Value(m_Map.hmax); }
    uint32_t Vmax() const { return Value(m_Map.vmax); }
    int64_t MaxLines() const { return int64_t{std::max<uint32_t>(Vmax(), 1)} * 65536; }

    int SetExposureLines(int nLines) override { return SetExposureLines(int64_t{nLines}); }
    // Lines clamped to 1 .. VMAX x 65536, split into SHS and VIRTUAL_SVS.
    int SetExposureLines(int64_t nLines);
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    // The requested exposure time as lines of the current line length.
    int ReapplyExposureTime();
    // PULSE1_DN = the exposure lines (at most 0xFFFF).
    int UpdateStrobePulse();
    // VMAX from the window height.
    int UpdateVMAX();
    // HMAX from the window width, by device type.
    virtual int UpdateHMAX() = 0;

    int SetStrobeEnable(bool bOn) override;
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override;
    int GetStrobeInvert(bool* pbInvert) const override;
    int SetFlip(bool bFlip) override { return SetReverseBit(0x01, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetReverseBit(0x02, bMirror); }
    int GetMirror(bool* pbMirror) const override;

    int GetGainRange(int* pMin, int* pMax) const override;
    // One gain for every colour, clamped to 0 .. 480.
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // Writes start and size (low byte, then the upper bits of each);
    // *pbChanged (cleared first, may be null) tells whether a size changed.
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    // The window now in the chip, both modes 0.
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  protected:
    CMultiFrameShutterUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                           CLog* const& rpLog, SensorState& state, plat::CriticalSection& busLock,
                           int32_t nDeviceType, Layout layout, const Map& map);

    // Lines the frame has beyond the window height.
    virtual uint32_t FrameOverheadLines() const = 0;
    void OnRegisterWritten(uint16_t wAddress) override;
    // The largest value a quantity's kept bits hold.
    uint32_t FieldMax(Quantity quantity) const;

    const Map m_Map;

  private:
    int WriteExposure(int64_t nLines);
    int SetReverseBit(uint8_t byBit, bool bOn);
    void UpdateCurrentExposureTime();
};
