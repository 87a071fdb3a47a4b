// CSpiSensor1280: the unit of the SPI-style 1280 x 1024 sensor (16-bit
// addresses and values). Its window columns come in blocks of 8; its
// exposure is a count of units of register 199 pixel clocks; the unit
// computes the frame length (register 200) the window and the unit need.
#pragma once

#include <cstdint>

#include "sensors/RegisterSensorUnit.h"
#include "sensors/SensorHost.h"

class CSpiSensor1280 final : public CRegisterSensorUnit {
  public:
    enum Register : uint16_t {
        CONTROL = 192,
        CONTROL2 = 194,
        EXTRA_LINES = 197,
        EXPOSURE_UNIT = 199,
        FRAME_LENGTH = 200,
        EXPOSURE = 201,
        RESERVED1 = 202,
        RESERVED2 = 203,
        GAIN = 205,
        COLUMNS = 256,
        FIRST_ROW = 257,
        LAST_ROW = 258,
    };
    static constexpr int32_t kMinExposureLines = 1;
    static constexpr int32_t kMaxExposureLines = 65535;

    CSpiSensor1280(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
                   SensorState& state, ISensorHost& host);

    int Init() override;

    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    // One gain 1 .. 4095 for every colour.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;

    // The chip's automatic exposure (register 192 bit 10) and binning (bit 8).
    int AECSetEnable(bool bEnable) override { return SetControlBit(0x0400, bEnable); }
    int AECGetEnable(bool* pbEnable) const override;
    int GetBinRange(int* pMin, int* pMax) const override;
    int GetBin(int* pbOn) const override;
    int SetBin(bool bOn) override { return SetControlBit(0x0100, bOn); }
    // Register 192 read again after the FPGA's working mode changed.
    int ResyncAfterFpgaCtrl() override { return RereadRegister(CONTROL); }

    // Windows in column blocks of 8; mode 1 subsamples both directions.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    void OnRegisterWritten(uint16_t wAddress, uint16_t wValue) override;
    int SetControlBit(uint16_t wBit, bool bOn);
    double UnitTime() const { return double{m_Capability.T} * Shadow(EXPOSURE_UNIT); }
    void UpdateExposureTime();
    // Register 200: the frame's rows and columns in exposure units.
    void UpdateFrameLength();

    ISensorHost& m_Host;
};
