// CSensorUnit: the operations a sensor unit offers its device. The device
// makes one unit when the camera opens (MakeSensorUnit, by the device type)
// and forwards every sensor operation to it under its sensor lock. Each
// operation answers RET_NOTSUPPORT unless the unit overrides it, so a unit
// names only what its chip has; a device type without a unit gets a plain
// CSensorUnit, which answers RET_NOTSUPPORT to everything.
//
// What stays with the device: the flip and mirror flags and the software
// flip or mirror when the sensor lacks them, the Bayer mode they give, and
// the requested exposure time after a line count was set.
#pragma once

#include <cstdint>

#include "ZDQApi.h"
#include "sensors/FieldOfView.h"

class CSensorUnit {
  public:
    enum class GainColour { Red, Green, Blue };

    CSensorUnit() = default;
    CSensorUnit(const CSensorUnit&) = delete;
    CSensorUnit& operator=(const CSensorUnit&) = delete;
    virtual ~CSensorUnit() = default;

    // Window limits, the register shadow and the current exposure time: 1 or
    // the first failure.
    virtual int Init() { return RET_NOTSUPPORT; }
    // Writes the shadow back to the chip after a reset: 1 or the first
    // failure.
    virtual int RestoreRegisters() { return RET_NOTSUPPORT; }

    // Exposure in lines and in ms. The setters clamp into the unit's range.
    virtual int SetExposureLines(int nLines) { return Unsupported(nLines); }
    virtual int SetExposureTime(float fMs) { return Unsupported(fMs); }
    virtual int GetExposureLines(int* pLines) const { return Unsupported(pLines); }
    virtual int GetExposureLinesRange(int* pMin, int* pMax) const {
        return Unsupported(pMin, pMax);
    }
    // Conversions with the line time now in the chip; 0 without them.
    virtual float ExposureLinesToTime(int64_t /*nLines*/) const { return 0.0f; }
    virtual int64_t ExposureTimeToLines(float /*fMs*/) const { return 0; }
    virtual int GetExposureTimeRange(float* pMin, float* pMax) const {
        return Unsupported(pMin, pMax);
    }
    virtual int GetExposureTime(float* pMs) const { return Unsupported(pMs); }

    // Strobe output: on/off, polarity and mode.
    virtual int SetStrobeEnable(bool bOn) { return Unsupported(bOn); }
    virtual int GetStrobeEnable(bool* pbOn) const { return Unsupported(pbOn); }
    virtual int SetStrobeInvert(bool bInvert) { return Unsupported(bInvert); }
    virtual int GetStrobeInvert(bool* pbInvert) const { return Unsupported(pbInvert); }
    virtual int SetStrobeMode(int nMode) { return Unsupported(nMode); }
    virtual int GetStrobeMode(int* pMode) const { return Unsupported(pMode); }

    // The sensor's own automatic exposure.
    virtual int AECSetEnable(bool bEnable) { return Unsupported(bEnable); }
    virtual int AECGetEnable(bool* pbEnable) const { return Unsupported(pbEnable); }
    virtual int AECSetRange(uint16_t wMin, uint16_t wMax) { return Unsupported(wMin, wMax); }
    virtual int AECGetRange(uint16_t* pMin, uint16_t* pMax) const {
        return Unsupported(pMin, pMax);
    }
    virtual int AECGetCur(uint16_t* pLines) { return Unsupported(pLines); }
    virtual int AECSetTarget(int nTarget) { return Unsupported(nTarget); }
    virtual int AECGetTarget(int* pTarget) const { return Unsupported(pTarget); }
    // The window the sensor's own automatic exposure measures, in pixels.
    virtual int AECSetWindow(int x, int y, int nWidth, int nHeight) {
        return Unsupported(x, y, nWidth, nHeight);
    }
    virtual int AECGetWindow(int* x, int* y, int* pWidth, int* pHeight) const {
        return Unsupported(x, y, pWidth, pHeight);
    }

    // The sensor's own automatic gain: on/off, its upper gain step and the
    // gain step it runs with now.
    virtual int AGCSetEnable(bool bEnable) { return Unsupported(bEnable); }
    virtual int AGCGetEnable(bool* pbEnable) const { return Unsupported(pbEnable); }
    virtual int AGCSetMax(uint16_t wMaxStep) { return Unsupported(wMaxStep); }
    virtual int AGCGetMax(uint16_t* pMaxStep) const { return Unsupported(pMaxStep); }
    virtual int AGCGetCur(uint16_t* pStep) { return Unsupported(pStep); }

    // Companding of the sensor's ADC (1 on, 0 off).
    virtual int SetCompanding(bool bOn) { return Unsupported(bOn); }
    virtual int GetCompanding(int* pbOn) const { return Unsupported(pbOn); }

    // The gains of a CCD camera's analogue front end.
    enum class FrontEnd { VgaGain, ClampLevel, CdsGain };
    virtual int GetFrontEndRange(FrontEnd which, int* pMin, int* pMax) const {
        return Unsupported(which, pMin, pMax);
    }
    virtual int SetFrontEnd(FrontEnd which, int nValue) { return Unsupported(which, nValue); }
    virtual int GetFrontEnd(FrontEnd which, int* pValue) const {
        return Unsupported(which, pValue);
    }

    // Black level and its calibration thresholds (automatic, lower, upper).
    virtual int GetBlackLevelRange(int* pMin, int* pMax) const { return Unsupported(pMin, pMax); }
    virtual int GetBlackLevel(int* pLevel) const { return Unsupported(pLevel); }
    virtual int SetBlackLevel(int nLevel) { return Unsupported(nLevel); }
    virtual int GetBlackLevelThresholds(bool* pbAutomatic, int* pLow, int* pHigh) const {
        return Unsupported(pbAutomatic, pLow, pHigh);
    }
    virtual int SetBlackLevelThresholds(bool bAutomatic, int nLow, int nHigh) {
        return Unsupported(bAutomatic, nLow, nHigh);
    }

    // Flip and mirror in the chip's registers.
    virtual int SetFlip(bool bFlip) { return Unsupported(bFlip); }
    virtual int GetFlip(bool* pbFlip) const { return Unsupported(pbFlip); }
    virtual int SetMirror(bool bMirror) { return Unsupported(bMirror); }
    virtual int GetMirror(bool* pbMirror) const { return Unsupported(pbMirror); }

    // Blanking, clamped to the unit's range.
    virtual int GetHorizontalBlankRange(int* pMin, int* pMax) const {
        return Unsupported(pMin, pMax);
    }
    virtual int SetHorizontalBlank(int nClocks) { return Unsupported(nClocks); }
    virtual int GetHorizontalBlank(int* pClocks) const { return Unsupported(pClocks); }
    virtual int GetVerticalBlankRange(int* pMin, int* pMax) const {
        return Unsupported(pMin, pMax);
    }
    virtual int SetVerticalBlank(int nRows) { return Unsupported(nRows); }
    virtual int GetVerticalBlank(int* pRows) const { return Unsupported(pRows); }

    // Sensor mode and binning.
    virtual int SetSensorMode(int nMode) { return Unsupported(nMode); }
    virtual int GetSensorMode(int* pMode) const { return Unsupported(pMode); }
    virtual int GetBinRange(int* pMin, int* pMax) const { return Unsupported(pMin, pMax); }
    virtual int GetBin(int* pbOn) const { return Unsupported(pbOn); }
    virtual int SetBin(bool bOn) { return Unsupported(bOn); }

    // Gain steps of one colour.
    virtual int GetGainRange(int* pMin, int* pMax) const { return Unsupported(pMin, pMax); }
    virtual int SetGain(GainColour colour, int nGain) { return Unsupported(colour, nGain); }
    virtual int GetGain(GainColour colour, int* pGain) const { return Unsupported(colour, pGain); }

    // Field of view (see CDevice::SensorCheckFov and its neighbours).
    // usMultiFrameNum is the FPGA's frames per transfer; b16BitData doubles
    // the bytes of a pixel.
    virtual int GetFovLimits(FieldOfView& fov, uint16_t usMultiFrameNum, bool b16BitData) const {
        return Unsupported(fov, usMultiFrameNum, b16BitData);
    }
    virtual int CheckFov(int& nColStart, int& nRowStart, int& nWidth, int& nHeight, int nAmCol,
                         int nAmRow, uint16_t* pMultiFrames, bool b16BitData) const {
        return Unsupported(nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pMultiFrames,
                           b16BitData);
    }
    virtual int SetFov(int nColStart, int nRowStart, int nWidth, int nHeight, int nAmCol,
                       int nAmRow, uint8_t* pbChanged) {
        return Unsupported(nColStart, nRowStart, nWidth, nHeight, nAmCol, nAmRow, pbChanged);
    }

    // Follow-up of a write of the FPGA's working-mode register: 1 or the
    // first failure (1 for a unit that keeps nothing tied to it).
    virtual int ResyncAfterFpgaCtrl() { return RET_SUCCESS; }

    // Global-reset shutter and pre-exposure.
    virtual int GetPreExposureRange(int* pMin, int* pMax) const { return Unsupported(pMin, pMax); }
    virtual int SetPreExposureLines(int nLines) { return Unsupported(nLines); }
    virtual int GetPreExposureLines(int* pLines) const { return Unsupported(pLines); }
    virtual int SetPreExposureTime(float fMs) { return Unsupported(fMs); }
    virtual int GetPreExposureTime(float* pMs) const { return Unsupported(pMs); }
    virtual int SetGlobalResetShutter(bool bOn) { return Unsupported(bOn); }
    virtual int GetGlobalResetShutter(bool* pbOn) const { return Unsupported(pbOn); }

  private:
    template <typename... Args>
    static int Unsupported(const Args&... /*args*/) {
        return RET_NOTSUPPORT;
    }
};
