// The parameter block a camera keeps in its memory: the camera's whole
// parameter set in 200 bytes, so that it comes up with the settings it was
// given last. Little-endian; integers are 32-bit unless noted, floats
// 32-bit IEEE.
//
//   0  magic "PS" (0x5350)        2  minor version    3  major version
//   4  preview window: column start, row start, column size, row size
//  20  preview addressing mode (columns and rows)
//  24  capture window, 40 capture addressing mode
//  44  exposure lines             48  red, green, blue gain
//  60  flags (ParamFlag)          61  white-balance mode (byte)
//  62  white-balance threshold    66  white-balance preset (byte)
//  67  white-balance gains (3 floats)
//  79  matrix mode (byte)         80  matrix preset (byte)
//  81  colour matrix (9 floats)
// 117  AE region x, y, width, height
// 133  AE exposure-time bounds (2 floats, ms)
// 141  AE maximum count          145  AE target
// 149  global-reset shutter on (byte)   150  pre-exposure lines (16-bit)
// 152  fixed frame rate (float)  156  FPGA register 3 (16-bit)
// 158  strobe delay (16-bit)     160  mode bits (16-bit, ParamModeBits)
// 162  capture time-out (ms)     166  frame recovery on (byte)
// 167  Bayer mode (byte)         168  demosaic algorithm (byte)
// 169  contrast, brightness, gamma, saturation
// 185  sensitivity mode (byte)   189  GPIO direction (byte)
// 190  FPGA register 30 (16-bit) 192  FPGA registers 65-68 (16-bit each)
//
// Each field is applied on loading from the minor version that brought it
// (ParamBlockHas): up to 145 from 3, 149-160 from 4, 162-166 from 5,
// 167-184 from 6, 185 from 8, 189-190 from 9, 192 from 10. Blocks of minors
// 4-6 keep the trigger method one bit lower in the mode bits.
#pragma once

#include <array>
#include <cstdint>

constexpr uint32_t kParamBlockBytes = 200;
constexpr uint8_t kParamBlockMajor = 1;
constexpr uint8_t kParamBlockMinor = 10;

// Bits of the flags byte.
enum ParamFlag : uint8_t {
    PARAMFLAG_FLIP = 0x01,
    PARAMFLAG_MIRROR = 0x02,
    PARAMFLAG_PREVIEW_CALIBRATION = 0x04,
    PARAMFLAG_CAPTURE_CALIBRATION = 0x08,
    PARAMFLAG_AE_RUNNING = 0x10,
};

// The mode-bits word: trigger mode, trigger method, strobe settings, 16-bit
// data, sensitivity and bad-pixel correction.
struct ParamModeBits {
    int nTriggerMode = 0;    // bits 0-2
    int nTriggerMethod = 0;  // bits 3-4
    int nFlashMode = 0;      // bits 5-6
    bool bFlashEnable = false;
    bool bFlashInvert = false;
    bool bData16Bits = false;
    int nSensitivity = 0;  // bits 10-12
    bool bBadPixelCorrection = false;
    int nBadPixelLevel = 0;  // bits 14-15

    uint16_t Pack() const;
    static ParamModeBits Unpack(uint16_t wBits);
    // The word of a block of minor 4-6 (trigger mode in bits 0-1, method in
    // bits 2-3) in today's layout: bits 2-3 move to bits 3-4, bit 2 clears.
    static uint16_t FromOlderLayout(uint16_t wBits);
};

struct StoredWindow {
    int32_t nColStart = 0, nRowStart = 0, nColSize = 0, nRowSize = 0, nAm = 0;
};

struct StoredParams {
    uint8_t byMinor = kParamBlockMinor;
    uint8_t byMajor = kParamBlockMajor;
    StoredWindow preview, capture;
    int32_t nExposureLines = 0;
    int32_t nGain[3] = {};
    uint8_t byFlags = 0;
    uint8_t byWhiteBalanceMode = 0;
    int32_t nWhiteBalanceThreshold = 0;
    uint8_t byWhiteBalancePreset = 0;
    float fWhiteBalanceGains[3] = {};
    uint8_t byMatrixMode = 0;
    uint8_t byMatrixPreset = 0;
    float fMatrix[9] = {};
    int32_t nAeRegion[4] = {};
    float fAeTimeMin = 0.0f, fAeTimeMax = 0.0f;
    int32_t nAeMaxCount = 0, nAeTarget = 0;
    uint8_t bGlobalReset = 0;
    uint16_t wPreExposureLines = 0;
    float fFixedFrameRate = 0.0f;
    uint16_t wTriggerDelay = 0;  // FPGA register 3
    uint16_t wStrobeDelay = 0;   // FPGA register 4
    uint16_t wModeBits = 0;      // ParamModeBits, in the block's own layout
    int32_t nCaptureTimeOut = 0;
    uint8_t bRecover = 0;
    uint8_t byBayerMode = 0, byFilterMode = 0;
    int32_t nContrast = 0, nBrightness = 0, nGamma = 0, nSaturation = 0;
    uint8_t bySensitivity = 0;
    uint8_t byGpioDirection = 0;
    uint16_t wIoStatus = 0;  // FPGA register 30
    uint16_t wCap[4] = {};   // FPGA registers 65-68
};

using ParamBlockBytes = std::array<uint8_t, kParamBlockBytes>;

// The 200 bytes of a parameter set, with its own version fields.
ParamBlockBytes PackParamBlock(const StoredParams& params);
// The parameter set of a block: false for a block without the magic, with a
// version word below 1.0, or of major 1 with minor 0-2.
bool UnpackParamBlock(const ParamBlockBytes& bytes, StoredParams& params);
// Whether a block of this version carries the fields of nMinor: any major
// above 1 carries everything.
bool ParamBlockHas(const StoredParams& params, int nMinor);
