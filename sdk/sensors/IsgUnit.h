// CIsgUnit: what the ISG sensors share (ISG1307, ISG4006A, ISG4006): byte
// registers at 16-bit addresses, whose wider fields lie in consecutive
// registers with the most significant byte at the lower address; a first
// row and a row count; an exposure of whole units held in three or four
// bytes; one gain byte. The sensor delivers whole lines, and the camera's
// FPGA crops the columns (register 43 the first column, 44 the width).
#pragma once

#include <cstdint>
#include <vector>

#include "sensors/ByteRegisterUnit.h"
#include "sensors/SensorHost.h"

class CIsgUnit : public CByteRegisterUnit {
  public:
    // A field of the chip: its low byte's address; the bytes above lie at
    // the addresses below it.
    struct Field {
        uint16_t wLow;
        int nBytes;
        int nBits;
    };
    struct Map {
        const wchar_t* pszUnit;
        uint16_t wGain;
        Field start;
        Field rows;
        Field exposure;
        uint16_t wFlip;
        uint8_t byFlipBit;
        bool bFlipBitSetWhenFlipped;
        int64_t nMaxExposureLines;
        RoiLimits roi;
        bool bCropsColumns;  // the FPGA carries the column window
    };

    int Init() override;
    // The write-through rule on the unit's writable registers:
    // RET_NOTSUPPORT for another address.
    int Write(uint16_t wAddress, uint8_t byValue, uint8_t* pbChanged = nullptr);
    // A field through the write-through rule, low byte first, the bits above
    // the field kept: stops at the first failure.
    int WriteField(const Field& field, uint32_t nValue, uint8_t* pbChanged = nullptr);
    uint32_t FieldValue(const Field& field) const;

    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;

    int SetFlip(bool bFlip) override;
    int GetFlip(bool* pbFlip) const override;

    // Window rows in the chip; columns in the FPGA.
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  protected:
    CIsgUnit(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
             int32_t nDeviceType, const Map& map, Layout layout,
             std::vector<uint16_t> readOnly = {});

    // Time of one exposure unit in ms.
    virtual double LineTime() const = 0;
    // Aligns and clamps a window with the given alignments of starts and
    // sizes; full-resolution modes only, since nothing in the camera skips
    // (RET_PARAMERROR for a mode outside 0 .. 4, RET_NOTSUPPORT for others).
    int CheckAlignedFov(int nColumnAlign, int nRowAlign, int& nColStart, int& nRowStart,
                        int& nWidth, int& nHeight, int nAmCol, int nAmRow, uint16_t* pMultiFrames,
                        bool b16BitData) const;

    const Map& m_Map;
    ISensorHost& m_Host;

  private:
    void OnRegisterWritten(uint16_t wAddress) override;
    bool IsExposureByte(uint16_t wAddress) const;

    const std::vector<uint16_t> m_ReadOnly;
};

// ISG1307: 1280 x 1024, exposure in units of 321 / (pixel clock / 10) us;
// strobe through FPGA register 29.
class CISG1307 final : public CIsgUnit {
  public:
    CISG1307(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
             int32_t nDeviceType);
    // Gain steps 0 .. 31 in PGA bits 0-4.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;
    int SetStrobeEnable(bool bOn) override;
    int GetStrobeEnable(bool* pbOn) const override;
    int SetStrobeInvert(bool bInvert) override;
    int GetStrobeInvert(bool* pbInvert) const override;

  private:
    double LineTime() const override;
};

// ISG4006A: 2048 x 2048, exposure in units of 2580 clocks in 24 bits.
class CISG4006A final : public CIsgUnit {
  public:
    CISG4006A(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
              SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
              int32_t nDeviceType);
    int Init() override;
    // Gain steps 0 .. 15 in PGA bits 0-4.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;

  private:
    double LineTime() const override { return 2580.0 * m_Capability.T; }
};

// ISG4006: 2040 x 2048 of fixed width, exposure in units of 2580 clocks in
// 27 bits.
class CISG4006 final : public CIsgUnit {
  public:
    CISG4006(CVendorRequests& vendor, const DeviceCapability& capability, CLog* const& rpLog,
             SensorState& state, plat::CriticalSection& busLock, ISensorHost& host,
             int32_t nDeviceType);
    // Gain steps 0 .. 8 as twice the step in PGA bits 1-4.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitData) const override;

  private:
    double LineTime() const override { return 2580.0 * m_Capability.T; }
};
