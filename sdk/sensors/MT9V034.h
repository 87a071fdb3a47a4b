// CMT9V034: the unit of the 752 x 480 MT9V034 sensor (8-bit register
// addresses, 16-bit values) with its own automatic exposure (AEC) and gain
// (AGC), companding and blanking. The line lasts the window width plus the
// horizontal blanking; the chip raises the blanking itself for some widths
// and read modes, so the unit reads it back after such writes and keeps the
// exposure time in ms.
#pragma once

#include <cstdint>

#include "sensors/RegisterSensorUnit.h"

class CMT9V034 final : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        COLUMN_START_CONTEXTA = 0x01,
        ROW_START_CONTEXTA = 0x02,
        WINDOW_HEIGHT_CONTEXTA = 0x03,
        WINDOW_WIDTH_CONTEXTA = 0x04,
        HORIZONTAL_BLANKING_CONTEXTA = 0x05,
        VERTICAL_BLANKING_CONTEXTA = 0x06,
        COARSE_SHUTTER_WIDTH_TOTAL_CONTEXTA = 0x0B,
        READ_MODE_CONTEXTA = 0x0D,
        LED_OUT_CTRL = 0x1B,
        ADC_RESOLUTION_CONTROL = 0x1C,
        ANALOG_GAIN = 0x35,
        MAX_ANALOG_GAIN = 0xAB,
        MIN_SHUTTER_WIDTH = 0xAC,
        MAXIMUM_SHUTTER_WIDTH = 0xAD,
        AEC_AGC_ENABLE = 0xAF,
        AGC_GAIN_OUTPUT = 0xBA,      // the AGC's gain now, read on demand
        AEC_EXPOSURE_OUTPUT = 0xBB,  // the AEC's exposure now, read on demand
        ANALOG_CONTROLS = 0xC2,
        FINE_SHUTTER_WIDTH_TOTAL = 0xD5,
    };
    static constexpr int32_t kMinExposureLines = 1;
    static constexpr int32_t kMaxExposureLines = 32765;
    static constexpr int kMaxGainStep = 48;
    // Gain step 0 is the chip's analogue gain code 16 (x1).
    static constexpr int kGainCodeOffset = 16;

    // rpLog is the device's log pointer, read at every line.
    CMT9V034(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state);

    // Window limits, the register read (ANALOG_CONTROLS bit 7 then set, its
    // result returned), the exposure time, and the chip's AEC and AGC off.
    int Init() override;
    void LogRegisters() const override {}  // logged once ANALOG_CONTROLS is set

    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    // One analogue gain for every colour; RET_ILLEGALOPERATION while the
    // AGC runs.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // Blanking: horizontal 61 .. 1023 clocks, vertical 3 .. 32288 rows.
    int GetHorizontalBlankRange(int* pMin, int* pMax) const override;
    int SetHorizontalBlank(int nClocks) override;
    int GetHorizontalBlank(int* pClocks) const override;
    int GetVerticalBlankRange(int* pMin, int* pMax) const override;
    int SetVerticalBlank(int nRows) override;
    int GetVerticalBlank(int* pRows) const override;

    int SetCompanding(bool bOn) override;
    int GetCompanding(int* pbOn) const override;
    // The chip always reads every pixel it bins: binning reads as on and
    // cannot be switched.
    int GetBinRange(int* pMin, int* pMax) const override;
    int GetBin(int* pbOn) const override;

    // Strobe: LED_OUT_CTRL bit 0 set switches the output off, bit 1 inverts
    // it. Flip and mirror: READ_MODE_CONTEXTA bits 4 and 5.
    int SetStrobeEnable(bool bOn) override { return SetBit(LED_OUT_CTRL, 0x0001, !bOn); }
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override { return SetBit(LED_OUT_CTRL, 0x0002, bInvert); }
    int GetStrobeInvert(bool* pbInvert) const override;
    int SetFlip(bool bFlip) override { return SetBit(READ_MODE_CONTEXTA, 0x0010, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetBit(READ_MODE_CONTEXTA, 0x0020, bMirror); }
    int GetMirror(bool* pbMirror) const override;

    // The chip's AEC and AGC.
    int AECSetEnable(bool bEnable) override;
    int AECGetEnable(bool* pbEnable) const override;
    int AECSetRange(uint16_t wMin, uint16_t wMax) override;
    int AECGetRange(uint16_t* pMin, uint16_t* pMax) const override;
    int AECGetCur(uint16_t* pLines) override;
    int AGCSetEnable(bool bEnable) override;
    int AGCGetEnable(bool* pbEnable) const override;
    int AGCSetMax(uint16_t wMaxStep) override;
    int AGCGetMax(uint16_t* pMaxStep) const override;
    int AGCGetCur(uint16_t* pStep) override;

    // Windows: the row mode serves both directions (RET_PARAMERROR when the
    // modes differ); modes 0, 1 (bin 2) and 3 (bin 4).
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    void LogDump() const;
    int SetBit(uint16_t wAddress, uint16_t wBit, bool bOn);
    // Pixel clocks of a line: window width plus horizontal blanking.
    uint32_t LineClocks() const;
    int ReapplyExposureTime();
    bool AgcRunning() const { return (Shadow(AEC_AGC_ENABLE) & 0x0002) != 0; }
};
