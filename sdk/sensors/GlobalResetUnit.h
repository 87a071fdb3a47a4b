// CGlobalResetUnit: the byte-register units whose exposure is a shutter
// line SHR and extra frames SVR against a fixed frame length F and line
// length L that follow the readout mode (IMX183 and IMX226). On camera
// firmware with a global-reset shutter the FPGA carries the exposure (35,
// 36), line length (37), frame length (38) and the pre-exposure phase (50
// to 52): in a trigger mode the sensor resets all rows at once and the
// exposure starts after a pre-exposure of P lines.
#pragma once

#include <cstdint>

#include "sensors/ByteRegisterUnit.h"
#include "sensors/SensorHost.h"

class CGlobalResetUnit : public CByteRegisterUnit {
  public:
    static constexpr int64_t kMaxGlobalResetLines = 65525;  // 0xFFF5
    static constexpr int kMaxGain = 1957;

    uint32_t FrameLength() const { return m_nFrameLength; }
    uint32_t LineLength() const { return m_nLineLength; }
    // The firmware hands the timing to the FPGA.
    virtual bool HasGlobalReset() const = 0;
    // FPGA working mode in an external or software trigger mode.
    bool TriggerState() const;

    int64_t Lines() const;
    int SetExposureLines(int nLines) override { return SetExposureLines(int64_t{nLines}); }
    int SetExposureLines(int64_t nLines);
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    int SetFlip(bool bFlip) override;
    int GetFlip(bool* pbFlip) const override;
    int GetGainRange(int* pMin, int* pMax) const override;
    // PGC = the gain clamped to 0 .. 1957, for every colour.
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // The FPGA's strobe output.
    int SetStrobeEnable(bool bOn) override;
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override;
    int GetStrobeInvert(bool* pbInvert) const override;

    // The pre-exposure set-up: register 0x08 bit 0 (the global-reset flag in
    // a trigger mode, else clear), the exposure again and the FPGA timing of
    // the readout mode; waits 50 ms when any of them changed. 1 or the first
    // failing FPGA write; nothing without global-reset firmware.
    int SetPreExposure();
    int ResyncAfterFpgaCtrl() override { return SetPreExposure(); }
    int GetPreExposureRange(int* pMin, int* pMax) const override;
    // Lines clamped to 0 .. 0xFFF5, then applied.
    int SetPreExposureLines(int nLines) override;
    int GetPreExposureLines(int* pLines) const override;
    int GetPreExposureTime(float* pMs) const override;
    int GetGlobalResetShutter(bool* pbOn) const override;
    uint16_t PreExposureLines() const { return m_wPreExposureLines; }
    bool GlobalResetFlag() const { return m_bGlobalReset; }

  protected:
    CGlobalResetUnit(CVendorRequests& vendor, const DeviceCapability& capability,
                     CLog* const& rpLog, SensorState& state, plat::CriticalSection& busLock,
                     ISensorHost& host, int32_t nDeviceType, Layout layout);

    static constexpr Quantity kShr{0x0B, 2};
    static constexpr Quantity kSvr{0x0D, 2};
    static constexpr Quantity kPgc{0x09, 2};
    static constexpr uint16_t kGlobalResetRegister = 0x08;
    static constexpr uint16_t kReadoutMode = 0x04;
    static constexpr uint16_t kFlipRegister = 0x1A;

    // F and L of a readout-mode register value.
    virtual void SetTimingOfMode(uint8_t byMode) = 0;
    // The FPGA registers of the readout mode: the first failure.
    virtual int WriteModeTiming(uint8_t* pbChanged) = 0;
    // The pre-exposure applies on this camera.
    virtual bool PreExposureApplies() const { return HasGlobalReset(); }
    void OnRegisterWritten(uint16_t wAddress) override;
    void UpdateExposureTime();
    // Stores the pre-exposure lines clamped to 0 .. 0xFFF5.
    void StorePreExposureLines(int64_t nLines);
    void SetGlobalResetFlag(bool bOn) { m_bGlobalReset = bOn; }
    int64_t MinLines() const { return HasGlobalReset() ? 1 : 4; }
    int64_t MaxLines() const;

    ISensorHost& m_Host;
    uint32_t m_nFrameLength = 0;
    uint32_t m_nLineLength = 0;

  private:
    int64_t LinesOfRegisters() const;
    bool m_bGlobalReset = false;
    uint16_t m_wPreExposureLines = 0;
};
