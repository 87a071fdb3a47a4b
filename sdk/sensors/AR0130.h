// CAR0130: the unit of the 1280 x 960 AR0130 sensor (16-bit addresses and
// values) with its on-chip automatic exposure engine. CMT9M031 shares its
// register list, writer, restore, exposure and engine, and differs in its
// window offsets and addressing modes.
//
// The engine is there when register 0x3064 (embedded data) has bit 7 or 8
// set; while it runs (AE_CTRL_REG bit 0) it owns the exposure: manual
// exposures are refused and the exposure is read from the engine (0x3164).
#pragma once

#include <cstdint>

#include "sensors/RegisterSensorUnit.h"

class CAR0130 : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        Y_ADDR_START = 0x3002,
        X_ADDR_START = 0x3004,
        Y_ADDR_END = 0x3006,
        X_ADDR_END = 0x3008,
        FRAME_LENGTH_LINES = 0x300A,
        LINE_LENGTH_PCK = 0x300C,
        COARSE_INTEGRATION_TIME = 0x3012,
        FINE_INTEGRATION_TIME = 0x3014,
        RESET_REGISTER = 0x301A,
        DATA_PEDESTAL = 0x301E,
        VT_PIX_CLK_DIV = 0x302A,
        DIGITAL_BINNING = 0x3032,
        READ_MODE = 0x3040,
        FLASH = 0x3046,
        GREEN1_GAIN = 0x3056,
        BLUE_GAIN = 0x3058,
        RED_GAIN = 0x305A,
        GREEN2_GAIN = 0x305C,
        GLOBAL_GAIN = 0x305E,
        EMBEDDED_DATA_CTRL = 0x3064,
        Y_ODD_INC = 0x30A6,
        DIGITAL_TEST = 0x30B0,
        AE_CTRL_REG = 0x3100,
        AE_LUMA_TARGET_REG = 0x3102,
        AE_MAX_EXPOSURE_REG = 0x311C,
        AE_MIN_EXPOSURE_REG = 0x311E,
        AE_ROI_X_START_OFFSET = 0x3140,
        AE_ROI_Y_START_OFFSET = 0x3142,
        AE_ROI_X_SIZE = 0x3144,
        AE_ROI_Y_SIZE = 0x3146,
        AE_COARSE_INTEGRATION_TIME = 0x3164,  // the engine's exposure, read on demand
    };
    static constexpr int32_t kMinExposureLines = 1;
    static constexpr int32_t kMaxExposureLines = 65535;
    static constexpr int kMinGain = 1;
    static constexpr int kMaxGain = 255;

    // rpLog is the device's log pointer, read at every line.
    CAR0130(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state);

    // Window limits, the register read (DIGITAL_TEST bit 7 then cleared)
    // and the current exposure: 1 or the first failure.
    int Init() override;
    void LogRegisters() const override;
    // The write-through rule with the follow-ups: a failing re-read of
    // FRAME_LENGTH_LINES after a write is returned.
    int Write(uint16_t wAddress, uint16_t wValue, uint8_t* pbWritten = nullptr);

    // Exposure: lines of LINE_LENGTH_PCK clocks plus FINE_INTEGRATION_TIME
    // clocks. RET_ILLEGALOPERATION for a manual exposure while the engine
    // runs.
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    int GetExposureTime(float* pMs) const override;

    // The on-chip engine: RET_NOTSUPPORT without it.
    int AECSetEnable(bool bEnable) override;
    int AECGetEnable(bool* pbEnable) const override;
    int AECSetRange(uint16_t wMin, uint16_t wMax) override;
    int AECGetRange(uint16_t* pMin, uint16_t* pMax) const override;
    int AECGetCur(uint16_t* pLines) override;
    int AECSetTarget(int nTarget) override;
    int AECGetTarget(int* pTarget) const override;
    int AECSetWindow(int x, int y, int nWidth, int nHeight) override;
    int AECGetWindow(int* x, int* y, int* pWidth, int* pHeight) const override;

    // Gains 1 .. 255: one for all colours on a monochrome camera.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    int SetGlobalGain(int nGain);
    int SetGreenGain(int nGain);

    // Strobe: FLASH bit 8 on, bit 7 inverted. Flip and mirror: READ_MODE
    // bits 15 and 14.
    int SetStrobeEnable(bool bOn) override { return SetBit(FLASH, 0x0100, bOn); }
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override { return SetBit(FLASH, 0x0080, bInvert); }
    int GetStrobeInvert(bool* pbInvert) const override;
    int SetFlip(bool bFlip) override { return SetBit(READ_MODE, 0x8000, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetBit(READ_MODE, 0x4000, bMirror); }
    int GetMirror(bool* pbMirror) const override;

    // Windows: both directions take one mode (RET_PARAMERROR when the modes
    // differ); mode 1 is the chip's digital binning.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  protected:
    CAR0130(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
            SensorState& state, const wchar_t* pszUnit, RoiLimits roi);

    int SetBit(uint16_t wAddress, uint16_t wBit, bool bOn, uint8_t* pbWritten = nullptr);
    // Clears *pbChanged, then writes the window registers (the start and end
    // column and row, moved by the unit's offsets); stops at the first
    // failed write.
    int WriteWindow(int nColStart, int nRowStart, int nWidth, int nHeight, uint8_t* pbChanged);
    bool EngineAvailable() const { return (Shadow(EMBEDDED_DATA_CTRL) & 0x0180) != 0; }
    bool EngineRunning() const { return EngineAvailable() && (Shadow(AE_CTRL_REG) & 1) != 0; }

  private:
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    // The engine's exposure now, 0 when the chip cannot be read.
    uint16_t EngineLines() const;
    int32_t CurrentLines() const;
    void UpdateExposureTime();
    int WriteLines(int64_t nLines);

    const wchar_t* const m_pszUnit;
    const RoiLimits m_Roi;
    int m_nFollowUp = RET_SUCCESS;
};

// CMT9M031: the AR0130's register set with its own window offsets (column
// + 2, row + 4) and addressing modes (binning, skip 4, skip 8).
class CMT9M031 final : public CAR0130 {
  public:
    CMT9M031(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state);

    // As the AR0130's check; the row skips (modes 3 and 4) are refused with
    // RET_NOTSUPPORT, since the chip would send every column of the window
    // while the frame of such a mode is narrower.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;
    // Binning reads as on.
    int GetBin(int* pbOn) const override;
    // 0 full, 1 binning, 3 skip 4 rows, 4 skip 8 rows; RET_NOTSUPPORT for
    // others.
    int SetAddrMode(int nMode, uint8_t* pbWritten);
};
