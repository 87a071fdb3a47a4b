// CEV76C560: the unit of the EV76C560 sensor (8-bit register addresses,
// 16-bit values), 1600 x 1200 or 1280 x 1024 by device type. The chip makes
// its pixel clock itself (an internal oscillator, a PLL or a fixed 96 MHz,
// divided), so the unit derives its clock period from the clock registers
// once the oscillator setting is written. Two exposure modes: normal (a
// count of lines) and line mode (one line whose length is the exposure).
#pragma once

#include <cstdint>

#include "sensors/RegisterSensorUnit.h"
#include "sensors/SensorHost.h"

class CEV76C560 final : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        LINE_CFG = 0x04,
        MISCEL1 = 0x06,
        MISCEL2 = 0x07,
        CLK_CFG = 0x08,
        PLL_CFG = 0x09,
        CHAIN_CFG = 0x0A,
        CTRL_CFG = 0x0B,
        ROI1_T_INT_LL = 0x0E,
        ROI1_DIG_ANA_GAIN = 0x11,
        ROI1_OL_1 = 0x12,
        ROI1_H_1 = 0x13,
        ROI1_OC_1 = 0x14,
        ROI1_W_1 = 0x15,
        ROI1_SUBS_V_H = 0x1A,
        DIG_GAIN_GB_GR = 0x36,
        DIG_GAIN_B_R = 0x37,
        PRG_OSC = 0x3A,
        PIXTIME_READ_WIDTH = 0x49,
        LINE_MODE = 0x76,
    };
    static constexpr int32_t kMaxNormalLines = 65534;
    static constexpr int32_t kMaxLineModeLines = 2047;
    static constexpr int kMaxGain = 255;

    // The clock period in ms of the clock registers' setting (0 when they
    // select no clock).
    static double ClockPeriodOf(uint16_t wClkCfg, uint16_t wPllCfg, uint16_t wPrgOsc);

    // rpLog is the device's log pointer, read at every line.
    CEV76C560(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
              SensorState& state, const ISensorHost& host, int32_t nDeviceType);

    int Init() override;
    void LogRegisters() const override;
    // The clock period in ms the unit computes with.
    double ClockPeriod() const { return m_fT; }
    bool LineMode() const { return (Shadow(LINE_MODE) & 0x0800) != 0; }

    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    // Digital gains 0 .. 255: one for every colour on a monochrome camera.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // Strobe output in CTRL_CFG bits 6-7, its polarity in MISCEL2 bit 14;
    // flip and mirror in MISCEL2 bits 6 and 7.
    int SetStrobeEnable(bool bOn) override;
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override { return SetBit(MISCEL2, 0x4000, bInvert); }
    int GetStrobeInvert(bool* pbInvert) const override;
    int SetFlip(bool bFlip) override { return SetBit(MISCEL2, 0x0040, bFlip); }
    int GetFlip(bool* pbFlip) const override;
    int SetMirror(bool bMirror) override { return SetBit(MISCEL2, 0x0080, bMirror); }
    int GetMirror(bool* pbMirror) const override;
    // CTRL_CFG read again after the FPGA's working mode changed.
    int ResyncAfterFpgaCtrl() override { return RereadRegister(CTRL_CFG); }

    // Windows: the row mode's subsampling serves both directions
    // (RET_PARAMERROR when the modes differ).
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    int SetBit(uint16_t wAddress, uint16_t wBit, bool bOn, uint8_t* pbWritten = nullptr);
    // Pixel clocks of a line: LINE_CFG in units of 8.
    uint32_t LineClocks() const { return (Shadow(LINE_CFG) & 0x7FFu) * 8u; }
    void UpdateExposureTime();

    const ISensorHost& m_Host;
    const int32_t m_nDeviceType;
    double m_fT;
};
