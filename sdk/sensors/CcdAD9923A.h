// CCcdAD9923A: the unit of the CCD cameras, whose analogue signal passes an
// AD9923A front end with timing generator. The SDK only writes the front
// end's registers, so the unit keeps a 32-bit shadow of each one it writes.
// It offers the front end's gains (VGA gain, clamp level, CDS gain) and an
// exposure of whole frames plus a shutter position inside the last frame.
// The CCD's window is fixed.
#pragma once

#include <cstdint>

#include "capability/DeviceCapability.h"
#include "sensors/SensorHost.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/VendorRequests.h"

class CCcdAD9923A final : public CSensorUnit {
  public:
    // The front end's registers.
    enum Register : uint16_t {
        CDS_GAIN = 4,
        VGA_GAIN = 5,
        CLAMP_LEVEL = 6,
        FRAME_COUNT = 99,
        SHUTTER_POSITION = 100,
    };
    // What the camera model fixes: lines a frame, clocks a line, the window,
    // the line-count range.
    struct Model {
        uint32_t nLinesPerFrame;
        uint32_t nClocksPerLine;
        int32_t nWidth;
        int32_t nHeight;
        int32_t nMinLines;
        int32_t nMaxLines;
    };
    // The model of a CCD device type (false for another type).
    static bool ModelOf(int32_t nDeviceType, Model& model);

    CCcdAD9923A(CVendorRequests& vendor, const DeviceCapability& capability, SensorState& state,
                ISensorHost& host, int32_t nDeviceType);

    // The start-up values into the front end, the window limits and the
    // exposure: 1 or the first failing write.
    int Init() override;
    int RestoreRegisters() override;
    // The write-through rule: RET_NOTSUPPORT for another register, 1 without
    // traffic for a value equal to the shadow, else the write (a failure
    // keeps the shadow). The shutter position goes out inverted when the
    // camera counts it from the other end of the frame.
    int WrReg(uint16_t wRegister, uint32_t nValue);
    uint32_t Shadow(uint16_t wRegister) const;

    float ExposureLinesToTime(int64_t nLines) const override;
    int64_t ExposureTimeToLines(float fMs) const override;
    int SetExposureLines(int nLines) override;
    int SetExposureTime(float fMs) override;
    int GetExposureLines(int* pLines) const override;
    int GetExposureLinesRange(int* pMin, int* pMax) const override;
    int GetExposureTimeRange(float* pMin, float* pMax) const override;
    int GetExposureTime(float* pMs) const override;

    // Red, green and blue are the VGA gain, the clamp level and the CDS gain.
    int GetGainRange(int* pMin, int* pMax) const override;
    int SetGain(GainColour colour, int nGain) override;
    int GetGain(GainColour colour, int* pGain) const override;
    int GetFrontEndRange(FrontEnd which, int* pMin, int* pMax) const override;
    int SetFrontEnd(FrontEnd which, int nValue) override;
    int GetFrontEnd(FrontEnd which, int* pValue) const override;

    // The strobe of types 46 and 47 in FPGA register 0: bit 13 on, bit 14
    // inverted.
    int SetStrobeEnable(bool bOn) override { return SetWorkingModeBit(0x2000, bOn); }
    int GetStrobeEnable(bool* pbOn) const override { return GetWorkingModeBit(0x2000, pbOn); }
    int SetStrobeInvert(bool bInvert) override { return SetWorkingModeBit(0x4000, bInvert); }
    int GetStrobeInvert(bool* pbInvert) const override {
        return GetWorkingModeBit(0x4000, pbInvert);
    }

    // The fixed window: every window clamps to it; nothing is written.
    int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol, int nAmRow,
                 uint16_t* pMultiFrames, bool b16BitOutput) const override;
    int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol, int nAmRow,
               uint8_t* pbChanged) override;
    int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const override;

  private:
    struct Slot {
        uint16_t wRegister;
        uint32_t nValue;
    };
    Slot* SlotOf(uint16_t wRegister);
    bool Inverted() const { return m_Capability.Has(FirmwareCap::bmSubCkNumInvert); }
    // The shutter position as the camera takes it.
    uint32_t SentShutterPosition(uint32_t nValue) const;
    // The front end's start-up values, written straight and kept.
    int WriteStartUpValues();
    void UpdateExposureTime();
    double LineTime() const { return double{m_Capability.T} * m_Model.nClocksPerLine; }
    bool HasFpgaStrobe() const { return m_nDeviceType == 46 || m_nDeviceType == 47; }
    int SetWorkingModeBit(uint16_t wBit, bool bOn);
    int GetWorkingModeBit(uint16_t wBit, bool* pbOn) const;

    CVendorRequests& m_Vendor;
    const DeviceCapability& m_Capability;
    SensorState& m_State;
    ISensorHost& m_Host;
    const int32_t m_nDeviceType;
    Model m_Model{};
    Slot m_Shadow[5] = {
        {CDS_GAIN, 0}, {VGA_GAIN, 0}, {CLAMP_LEVEL, 0}, {FRAME_COUNT, 0}, {SHUTTER_POSITION, 0}};
};
