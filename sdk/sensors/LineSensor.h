// CLineSensorUnit: the unit of the segmented line sensors DR2K (device types
// 98 and 99, 2048 pixels a line) and DR4K (100 and 101, 4096 pixels). A line
// is read out in segments, each with its own control, gain, black level and
// analogue registers (segment s owns the 8-bit registers s x 16 + 1 to
// s x 16 + 10); three 16-bit registers are global: 0x70 the exposure length
// in clocks, 0x71 the line period, 0x72 the trigger and calibration flags.
//
// Every write goes through the shadow (nothing is sent when the value is
// unchanged) and is followed by the segment's load strobe: its control
// register written again with bit 0 set. The black level of a segment is
// calibrated by searching the register value at which the dark level of the
// frames falls to a threshold; the unit runs the register side of that search
// over frames that its device reads (ILineSensorFrames).
#pragma once

#include <array>
#include <cstdint>

#include "capability/DeviceCapability.h"
#include "common/Log.h"
#include "sensors/SensorHost.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/VendorRequests.h"

// Segments of a line-sensor device type: 2 (98), 1 (99), 4 (100), 2 (101);
// 0 for any other type.
int LineSensorSegments(int32_t nDeviceType);
// Lines in one frame of a line-sensor type: 2 (98, 100) or 1 (99, 101).
int LineSensorLinesPerFrame(int32_t nDeviceType);
// Pixels of one line: 2048 (98, 99) or 4096 (100, 101); 0 for other types.
int LineSensorLineWidth(int32_t nDeviceType);
bool IsLineSensorType(int32_t nDeviceType);

// The frames a calibration searches with: the device empties the camera's
// frame buffer and reads one frame into the buffer.
class ILineSensorFrames {
  public:
    virtual int ReadCalibrationFrame(uint8_t* pBuffer, uint32_t nBytes) = 0;

  protected:
    ~ILineSensorFrames() = default;
};

class CLineSensorUnit : public CSensorUnit {
  public:
    static constexpr int kMaxSegments = 4;
    static constexpr int kSegmentRegisters = 10;
    // Register numbers within a segment (address s x 16 + n).
    static constexpr uint8_t kControl = 1;
    static constexpr uint8_t kMode = 2;
    static constexpr uint8_t kGain = 3;
    static constexpr uint8_t kBlackLevel = 4;
    static constexpr uint8_t kCalibration = 5;
    // Global registers.
    static constexpr uint8_t kExposure = 0x70;
    static constexpr uint8_t kLinePeriod = 0x71;
    static constexpr uint8_t kFlags = 0x72;
    // Exposure in clocks and the line period's overhead and minimum.
    static constexpr int kMinExposureLines = 171;
    static constexpr int kMaxExposureLines = 65445;
    static constexpr int kLinePeriodOverhead = 90;
    static constexpr int kMinLinePeriod = 1058;
    // Calibration: the dark-level threshold, the search's start and end and
    // the level taken when it ends without reaching the threshold.
    static constexpr int kCalibrationThreshold = 65;
    static constexpr int kSearchStart = 100;
    static constexpr int kSearchEnd = 200;
    static constexpr int kLevelNotFound = 158;

    CLineSensorUnit(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                    SensorState& state, ISensorHost& host, int32_t nDeviceType);

    bool IsDR4K() const { return m_bDR4K; }
    int SegmentCount() const { return m_nSegments; }
    int LinesPerFrame() const { return m_nLinesPerFrame; }
    int LineWidth() const { return m_nLineWidth; }

    // Window limits, the shadow and the exposure time now in the chip.
    int Init() override;
    // Reads the registers of every segment, then the globals: 1 or the first
    // failing read.
    int Sensor_RdRelatedRegValue();
    // Write-through of one register (8-bit address): RET_NOTSUPPORT for an
    // address outside the unit's registers, 1 without traffic for the value
    // in the shadow, else the write's result, then the load strobe.
    int Sensor_WrReg(uint8_t byAddress, uint16_t wValue);
    // Rewrites every register from the shadow (segment registers with their
    // strobes, then the globals with the calibration flag cleared).
    int Sensor_WrRelatedRegValue();
    // The load strobe of segment s: its control register with bit 0 set;
    // 1 without traffic for a segment beyond the count.
    int SelectSeg(int nSegment);
    // The shadow of a register (0 for an unknown address).
    uint16_t Shadow(uint8_t byAddress) const;

    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    int GetExposureTime(float* pMs) const override;

    // Gain 0-255 per segment, kept inverted in the gain register. The colour
    // setters write every segment (DR2K) or segment 0, 1, 2 for red, green,
    // blue (DR4K).
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    // One segment's gain: RET_NOTSUPPORT for a segment beyond the count; a
    // gain outside 0-255 as a 16-bit value writes register 0 (gain 255).
    int SetSegmentGain(int nSegment, int nGain);
    int GetSegmentGain(int nSegment, int* pGain) const;
    // One segment's black level, 0-255 (larger values write 255).
    int SetSegmentBlackLevel(int nSegment, uint16_t wLevel);
    int GetSegmentBlackLevel(int nSegment, int* pLevel) const;
    // The black level of every segment; the getter reads segment 0.
    int GetBlackLevelRange(int* pMin, int* pMax) const override;
    int GetBlackLevel(int* pLevel) const override;
    int SetBlackLevel(int nLevel) override;

    // The whole line: width and lines per frame are fixed.
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    // Register 0x72 bit 0 follows the FPGA's trigger mode.
    int ResyncAfterFpgaCtrl() override;

    // Black-level calibration of segment s, the sensor's side: the preset,
    // the search over frames of nFrameBytes from the device, and the final
    // writes. The first failing write or frame read, else 1; a search that
    // never reaches the threshold settles on kLevelNotFound and succeeds.
    int CalibrateSegment(int nSegment, ILineSensorFrames& frames, uint8_t* pBuffer,
                         uint32_t nFrameBytes);
    // Direct writes that put segment s into its calibration state.
    int AutoBlackLevelSegPrepare(int nSegment);
    // Mean dark level of segment s in the first line of a frame.
    int CalibrationMean(const uint8_t* pFrame, uint32_t nBytes, int nSegment) const;
    // Log texts of the calibration, by model.
    const wchar_t* CalibrationName() const;

  private:
    // The shadow slot of an address, or null for one outside the unit.
    uint16_t* Slot(uint8_t byAddress);
    const uint16_t* Slot(uint8_t byAddress) const;
    static int SegmentOf(uint8_t byAddress) { return byAddress >> 4; }
    uint8_t SegmentAddress(int nSegment, uint8_t byRegister) const {
        return static_cast<uint8_t>(nSegment * 16 + byRegister);
    }
    int SetExposureClocks(uint16_t wLines);
    // Sensor_WrReg without the equality test.
    int ForceWrite(uint8_t byAddress, uint16_t wValue);
    // Writes with the strobe of segment s after a direct preset write.
    int PresetWrite(int nSegment, uint8_t byAddress, uint16_t wValue);

    CVendorRequests& m_Vendor;
    const DeviceCapability& m_Capability;
    CLog* const& m_rpLog;
    SensorState& m_State;
    ISensorHost& m_Host;
    const bool m_bDR4K;
    const int m_nSegments;
    const int m_nLinesPerFrame;
    const int m_nLineWidth;
    std::array<std::array<uint16_t, kSegmentRegisters>, kMaxSegments> m_wSegment{};
    std::array<uint16_t, 3> m_wGlobal{};
};
