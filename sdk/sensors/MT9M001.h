// CMT9M001: the unit of the 1280 x 1024 MT9M001 sensor (8-bit register
// addresses, 16-bit values). It keeps the exposure time in ms while the line
// time changes.
#pragma once

#include <algorithm>
#include <cstdint>

#include "sensors/RegisterSensorUnit.h"

class CMT9M001 final : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        RowStart = 1,
        ColumnStart = 2,
        RowSize = 3,
        ColumnSize = 4,
        HorizontalBlank = 5,
        VerticalBlank = 6,
        ShutterWidth = 9,
        ShutterDelay = 12,  // read only
        ReadMode1 = 30,
        ReadMode2 = 32,
        Green1Gain = 43,
        BlueGain = 44,
        RedGain = 45,
        Green2Gain = 46,
        GlobalGain = 53,
        CalThreshold = 95,
        CalCtrl = 98,
    };
    static constexpr int kMaxGainStep = 47;
    static constexpr int kMaxBlackLevel = 3;
    static constexpr int32_t kMinExposureLines = 1;
    static constexpr int32_t kMaxExposureLines = 16383;

    // rpLog is the device's log pointer, read at every line.
    CMT9M001(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state);

    // Sets the window limits, reads the registers and derives the exposure
    // time: 1 or the first failing read.
    int Init() override;
    void LogRegisters() const override;

    // Exposure in lines and ms with the line time now in the shadow.
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int32_t nLines) override;
    int SetExposureTime(float fMs) override;
    int32_t GetExposureLines() const;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    // The requested exposure time with the current line time.
    int ReapplyExposureTime();

    // One gain step (0 .. 47) for all colours: every register is written, the
    // first failing write is returned.
    int SetGain(int nStep);
    // The device's gains: one for all colours on a monochrome camera (the
    // global gain), else the colour's registers, written even after a
    // failure of another, which is not reported.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    static uint16_t GainTableValue(int nStep);
    // A requested step within 0 .. 47 (below: 0, above: 47).
    static int ClampedGainStep(int nStep) { return nStep < 0 ? 0 : std::min(nStep, kMaxGainStep); }
    // The first gain step whose table value equals the register's low 7 bits.
    static int GainStepOf(uint16_t wRegister);

    // Blanking, clamped to 9 .. 2047 (horizontal) and 25 .. 2047 (vertical).
    int SetHorizontalBlank(int nClocks) override;
    int SetVerticalBlank(int nRows) override;
    int GetHorizontalBlank() const { return Shadow(HorizontalBlank) & 0x7FF; }
    int GetVerticalBlank() const { return Shadow(VerticalBlank) & 0x7FF; }
    int GetHorizontalBlankRange(int* pMin, int* pMax) const override;
    int GetVerticalBlankRange(int* pMin, int* pMax) const override;
    int GetHorizontalBlank(int* pClocks) const override;
    int GetVerticalBlank(int* pRows) const override;

    // Strobe output: ReadMode1 bit 9. Flip: ReadMode2 bit 15 (the chip has
    // no mirror).
    int SetStrobeEnable(bool bOn) override;
    int GetStrobeEnable(bool* pbOn) const override;
    int SetFlip(bool bFlip) override;
    int GetFlip(bool* pbFlip) const override;

    // Addressing modes: 0 full resolution, 1 skip 2, 3 skip 4, 4 skip 8;
    // RET_NOTSUPPORT for skip 3 (2) and any other mode, nothing written.
    // *pbWritten (may be null) is set to 1 when a register was written.
    int SetRowAddrMode(int nMode, uint8_t* pbWritten = nullptr);
    int SetColumnAddrMode(int nMode, uint8_t* pbWritten = nullptr);
    // Aligns and clamps a field of view in place: RET_PARAMERROR for a mode
    // outside 0 .. 4, RET_NOTSUPPORT for a column mode the sensor lacks.
    // pMultiFrames (may be null) is cut so one transfer stays within 16 MiB;
    // b16BitOutput doubles the bytes per pixel.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    // Writes the window and the addressing modes, stopping at the first
    // failure; *pbChanged (may be null) tells whether a register changed.
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;

    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

    // Black level 0 .. 3 in CalCtrl, a level outside clamped to the range.
    // GetBlackLevel reads the level back from CalCtrl.
    int SetBlackLevel(int nLevel) override;
    int GetBlackLevel() const;
    int GetBlackLevel(int* pLevel) const override;
    int GetBlackLevelRange(int* pMin, int* pMax) const override;
    // Black-level calibration thresholds: automatic (bManualOff) or the
    // given ones; RET_NOTSUPPORT while calibration is forced (CalCtrl bit 0
    // or 1).
    int SetBlackLevelThreshold(bool bManualOff, int nLow, int nHigh);
    // The thresholds as set now (RET_NOTSUPPORT while calibration is
    // forced), and SetBlackLevelThreshold with bAutomatic = !bManualOff.
    int GetBlackLevelThresholds(bool* pbAutomatic, int* pLow, int* pHigh) const override;
    int SetBlackLevelThresholds(bool bAutomatic, int nLow, int nHigh) override;

  private:
    // A written exposure or line-time register updates the exposure.
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    int32_t LineTimeClocks() const;
    int32_t ShutterDelayClocks() const { return Shadow(ShutterDelay) & 0x7FF; }
};
