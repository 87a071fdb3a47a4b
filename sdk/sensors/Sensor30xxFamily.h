// CSensor30xxFamily: the unit of the three large sensors with their
// registers in the 0x30xx space (16-bit addresses and values). The chip
// computes its line length (LINE_LENGTH_PCK) from the window and the skips;
// the unit never writes it and reads it from the chip where the exposure
// depends on it.
#pragma once

#include <cstdint>

#include "sensors/RegisterSensorUnit.h"

class CSensor30xxFamily final : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        Y_ADDR_START = 0x3002,
        X_ADDR_START = 0x3004,
        Y_ADDR_END = 0x3006,
        X_ADDR_END = 0x3008,
        LINE_LENGTH_PCK = 0x300C,
        COARSE_INTEGRATION_TIME = 0x3012,
        FINE_INTEGRATION_TIME = 0x3014,
        RESET_REGISTER = 0x301A,
        GREENR_GAIN = 0x302A,
        RED_GAIN = 0x302C,
        BLUE_GAIN = 0x302E,
        GREENB_GAIN = 0x3030,
        READ_MODE = 0x3040,
        FLASH = 0x3046,
        X_ODD_INC = 0x30A2,
        Y_ODD_INC = 0x30A6,
        STROBE_CTRL = 0x315E,
    };
    static constexpr int32_t kMinExposureLines = 1;
    static constexpr int32_t kMaxExposureLines = 65535;
    static constexpr int kMaxGain = 194;

    // rpLog is the device's log pointer, read at every line.
    CSensor30xxFamily(CVendorRequests& vendor, const DeviceCapability& capability,
                      CLog* const& rpLog, SensorState& state, int32_t nDeviceType);

    // Window limits by type (RET_NOTSUPPORT for a type without them), the
    // register read, the exposure and the mirror cleared.
    int Init() override;

    // Exposure: lines of LINE_LENGTH_PCK clocks (read from the chip) plus
    // FINE_INTEGRATION_TIME clocks; the requested time survives line-length
    // changes.
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    // Gains 0 .. 194 per colour.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // The strobe is always on; its polarity in FLASH bit 7 and, inverted,
    // STROBE_CTRL bit 2. Flip and mirror: READ_MODE bits 15 and 14.
    int SetStrobeEnable(bool /*bOn*/) override { return RET_SUCCESS; }
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override;
    int GetStrobeInvert(bool* pbInvert) const override;
    int SetFlip(bool bFlip) override { return SetBit(READ_MODE, 0x8000, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetBit(READ_MODE, 0x4000, bMirror); }
    int GetMirror(bool* pbMirror) const override;
    // RESET_REGISTER read again after the FPGA's working mode changed.
    int ResyncAfterFpgaCtrl() override { return RereadRegister(RESET_REGISTER); }

    // Windows with row and column skips (modes 0, 1 skip 2, 3 skip 4).
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;
    int SetRowAddrMode(int nMode, bool bBin, uint8_t* pbChanged);
    int SetColumnAddrMode(int nMode, bool bBin, uint8_t* pbChanged);

  private:
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    int SetBit(uint16_t wAddress, uint16_t wBit, bool bOn);
    // LINE_LENGTH_PCK as the chip has it now: 1 or the read's failure.
    int ChipLineLength(uint16_t* pClocks) const;
    // The exposure of the lines now programmed, 0 when the chip's line
    // length cannot be read.
    float ProgrammedExposureTime() const;
    int ReapplyExposureTime();

    const int32_t m_nDeviceType;
    // Binning in the read mode; the family is run without it.
    static constexpr bool kBinning = false;
};
