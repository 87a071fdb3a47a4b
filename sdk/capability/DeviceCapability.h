// The capability record of one opened camera: what the camera's FPGA,
// firmware, board and sensor can do, and the sensor's pixel clock.
//
// Every bit or multi-bit field of the four words is described by a CapField
// (word, position, width and its ini/log key). The named fields below are the
// only way the rest of the SDK reads or changes the record, so a field's
// position is written down exactly once.
#pragma once

#include <cstdint>

enum class CapWord : std::uint8_t { Fpga, Firmware, Hardware, Sensor };

struct CapField {
    CapWord word;
    std::uint8_t shift;
    std::uint8_t width;
    // Key in the capability ini and the log dump; null for bits that only
    // the presets set.
    const char* key;

    constexpr std::uint64_t LowMask() const { return (std::uint64_t{1} << width) - 1; }
    constexpr std::uint64_t Mask() const { return LowMask() << shift; }
};

struct DeviceCapability {
    std::uint64_t FpgaCapability = 0;
    std::uint32_t FirmwareCapability = 0;
    std::uint32_t HardwareCapability = 0;
    std::uint32_t SensorCapability = 0;
    // Sensor pixel clock in MHz and the clock period T in ms per pixel clock.
    // They start at the clock a camera without a model preset runs at.
    float fPixClkMHz = kDefaultPixClkMHz;
    float T = ClockPeriod(kDefaultPixClkMHz);

    static constexpr float kDefaultPixClkMHz = 48.0f;

    // T = 1 / (fPixClkMHz x 1000), in single precision.
    static constexpr float ClockPeriod(float pixClkMHz) { return 1.0f / (pixClkMHz * 1000.0f); }

    // Sets the pixel clock and the clock period together.
    void SetPixClk(float pixClkMHz);

    // The field's value as an unsigned number (0 or 1 for one-bit fields).
    std::uint64_t Get(const CapField& field) const;
    bool Has(const CapField& field) const { return Get(field) != 0; }
    // Stores a value into the field and changes no other bit: a one-bit field
    // takes 1 for any non-zero value, a multi-bit field the value masked to
    // its width.
    void Set(const CapField& field, std::uint64_t value);
};

// SensorCapability. Bits 26-31 are always 0.
namespace SensorCap {
inline constexpr CapField bmMono{CapWord::Sensor, 0, 1, "bmMono"};
inline constexpr CapField bmBayerMode{CapWord::Sensor, 1, 2, "bmBayerMode"};
inline constexpr CapField bmMirror{CapWord::Sensor, 3, 1, "bmMirror"};
inline constexpr CapField bmFlip{CapWord::Sensor, 4, 1, "bmFlip"};
inline constexpr CapField bmSkip2{CapWord::Sensor, 5, 1, "bmSkip2"};
inline constexpr CapField bmSkip3{CapWord::Sensor, 6, 1, "bmSkip3"};
inline constexpr CapField bmSkip4{CapWord::Sensor, 7, 1, "bmSkip4"};
inline constexpr CapField bmSkip8{CapWord::Sensor, 8, 1, "bmSkip8"};
inline constexpr CapField bmBinning{CapWord::Sensor, 9, 1, "bmBinning"};
inline constexpr CapField bmGlobalReset{CapWord::Sensor, 10, 1, "bmGlobalReset"};
inline constexpr CapField bmFovSizeFormat{CapWord::Sensor, 11, 1, "bmFovSizeFormat"};
inline constexpr CapField bmFovEndFormat{CapWord::Sensor, 12, 1, "bmFovEndFormat"};
inline constexpr CapField bmEven{CapWord::Sensor, 13, 1, "bmEven"};
inline constexpr CapField bmAGC{CapWord::Sensor, 14, 1, "bmAGC"};
inline constexpr CapField bmAEC{CapWord::Sensor, 15, 1, "bmAEC"};
inline constexpr CapField bmFrameRestart{CapWord::Sensor, 16, 1, "bmFrameRestart"};
inline constexpr CapField bmFlashEnable{CapWord::Sensor, 17, 1, "bmFlashEnable"};
inline constexpr CapField bmFlashInvert{CapWord::Sensor, 18, 1, "bmFlashInvert"};
inline constexpr CapField bmGlobalGain{CapWord::Sensor, 19, 1, "bmGlobalGain"};
inline constexpr CapField bmNoNeedChangeBayerWhenFlip{CapWord::Sensor, 20, 1,
                                                      "bmNoNeedChangeBayerWhenFlip"};
inline constexpr CapField bmNoNeedChangeBayerWhenMirror{CapWord::Sensor, 21, 1,
                                                        "bmNoNeedChangeBayerWhenMirror"};
// ADC resolution in bits.
inline constexpr CapField bmResolution{CapWord::Sensor, 22, 4, "bmResolution"};
}  // namespace SensorCap

// HardwareCapability. Bits 18-31 are always 0.
namespace HardwareCap {
inline constexpr CapField bmIo{CapWord::Hardware, 0, 1, "bmIo"};
inline constexpr CapField bmPD0_7{CapWord::Hardware, 1, 1, "bmPD0_7"};
inline constexpr CapField bmPD2_3{CapWord::Hardware, 2, 1, "bmPD2_3"};
inline constexpr CapField bmPD0_3{CapWord::Hardware, 3, 1, "bmPD0_3"};
inline constexpr CapField bmPE0_3{CapWord::Hardware, 4, 1, "bmPE0_3"};
inline constexpr CapField bmPD2_5{CapWord::Hardware, 5, 1, "bmPD2_5"};
inline constexpr CapField bmPD2_7{CapWord::Hardware, 6, 1, "bmPD2_7"};
inline constexpr CapField bmPD6{CapWord::Hardware, 7, 1, "bmPD6"};
inline constexpr CapField bmSnapIo0{CapWord::Hardware, 8, 1, "bmSnapIo0"};
inline constexpr CapField bmSnapPC2{CapWord::Hardware, 9, 1, "bmSnapPC2"};
inline constexpr CapField bmSnapPA1{CapWord::Hardware, 10, 1, "bmSnapPA1"};
inline constexpr CapField bmOPT2{CapWord::Hardware, 11, 1, "bmOPT2"};
inline constexpr CapField bmHasFpga{CapWord::Hardware, 12, 1, "bmHasFpga"};
inline constexpr CapField bmHasFifo{CapWord::Hardware, 13, 1, "bmHasFifo"};
inline constexpr CapField bmHasTmp101{CapWord::Hardware, 14, 1, "bmHasTmp101"};
inline constexpr CapField bmE2PRomType{CapWord::Hardware, 15, 3, "bmE2PRomType"};
}  // namespace HardwareCap

// FirmwareCapability. Bits 21-31 are always 0.
namespace FirmwareCap {
inline constexpr CapField bmWorkingMode{CapWord::Firmware, 0, 1, "bmWorkingMode"};
inline constexpr CapField bmResetDevice{CapWord::Firmware, 1, 1, "bmResetDevice"};
inline constexpr CapField bmSendPktEnd{CapWord::Firmware, 2, 1, "bmSendPktEnd"};
inline constexpr CapField bmReconnect{CapWord::Firmware, 3, 1, "bmReconnect"};
inline constexpr CapField bmFastUpdate{CapWord::Firmware, 4, 1, "bmFastUpdate"};
inline constexpr CapField bmProgramWorkingMode{CapWord::Firmware, 5, 1, "bmProgramWorkingMode"};
inline constexpr CapField bmProgramSerialsDesc{CapWord::Firmware, 6, 1, "bmProgramSerialsDesc"};
inline constexpr CapField bmProgramLut{CapWord::Firmware, 7, 1, "bmProgramLut"};
inline constexpr CapField bmProgramGammaLut{CapWord::Firmware, 8, 1, "bmProgramGammaLut"};
inline constexpr CapField bmProgramWorkingModeEx{CapWord::Firmware, 9, 1, "bmProgramWorkingModeEx"};
inline constexpr CapField bmProgramColorMode{CapWord::Firmware, 10, 1, "bmProgramColorMode"};
inline constexpr CapField bmProgramColorMatrix{CapWord::Firmware, 11, 1, "bmProgramColorMatrix"};
inline constexpr CapField bmSubCkNumInvert{CapWord::Firmware, 12, 1, "bmSubCkNumInvert"};
inline constexpr CapField bmReadFpgaDead{CapWord::Firmware, 13, 1, "bmReadFpgaDead"};
inline constexpr CapField bmGetVersionStatus{CapWord::Firmware, 14, 1, "bmGetVersionStatus"};
inline constexpr CapField bmGetVersionStatusEx{CapWord::Firmware, 15, 1, "bmGetVersionStatusEx"};
inline constexpr CapField bmFixLast1Col{CapWord::Firmware, 16, 1, "bmFixLast1Col"};
inline constexpr CapField bmFixLast2Col{CapWord::Firmware, 17, 1, "bmFixLast2Col"};
inline constexpr CapField bmFixLast1Row{CapWord::Firmware, 18, 1, "bmFixLast1Row"};
inline constexpr CapField bmFixLast2Row{CapWord::Firmware, 19, 1, "bmFixLast2Row"};
// Set by the type-1 preset from firmware 6 on; kept with the record only.
inline constexpr CapField bmFirmwareBit20{CapWord::Firmware, 20, 1, nullptr};
}  // namespace FirmwareCap

// FpgaCapability. Bits 52-63 are always 0.
namespace FpgaCap {
inline constexpr CapField bmGetWorkingMode{CapWord::Fpga, 0, 1, "bmGetWorkingMode"};
inline constexpr CapField bmTriggerModeExternal{CapWord::Fpga, 1, 1, "bmTriggerModeExternal"};
inline constexpr CapField bmTriggerModeSoftware{CapWord::Fpga, 2, 1, "bmTriggerModeSoftware"};
inline constexpr CapField bmTriggerModeFixedFrameRate{CapWord::Fpga, 3, 1,
                                                      "bmTriggerModeFixedFrameRate"};
inline constexpr CapField bmLutEnable{CapWord::Fpga, 4, 1, "bmLutEnable"};
inline constexpr CapField bmTriggerMethodNegedge{CapWord::Fpga, 5, 1, "bmTriggerMethodNegedge"};
inline constexpr CapField bmTriggerMethodPosedge{CapWord::Fpga, 6, 1, "bmTriggerMethodPosedge"};
inline constexpr CapField bmTriggerMethodHig{CapWord::Fpga, 7, 1, "bmTriggerMethodHig"};
inline constexpr CapField bmTriggerMethodLow{CapWord::Fpga, 8, 1, "bmTriggerMethodLow"};
inline constexpr CapField bmEmptyFrameBuffer{CapWord::Fpga, 9, 1, "bmEmptyFrameBuffer"};
inline constexpr CapField bmSensitivityMode{CapWord::Fpga, 10, 1, "bmSensitivityMode"};
inline constexpr CapField bm16BitsTransfer{CapWord::Fpga, 11, 1, "bm16BitsTransfer"};
inline constexpr CapField bmBadPixelCorrection{CapWord::Fpga, 12, 1, "bmBadPixelCorrection"};
inline constexpr CapField bmSetTriggerDelay{CapWord::Fpga, 13, 1, "bmSetTriggerDelay"};
inline constexpr CapField bmGetTriggerDelay{CapWord::Fpga, 14, 1, "bmGetTriggerDelay"};
inline constexpr CapField bmSetMultiFramesNum{CapWord::Fpga, 15, 1, "bmSetMultiFramesNum"};
inline constexpr CapField bmGetMultiFramesNum{CapWord::Fpga, 16, 1, "bmGetMultiFramesNum"};
inline constexpr CapField bmSetTriggerFixFrameRate{CapWord::Fpga, 17, 1,
                                                   "bmSetTriggerFixFrameRate"};
inline constexpr CapField bmGetTriggerFixFrameRate{CapWord::Fpga, 18, 1,
                                                   "bmGetTriggerFixFrameRate"};
inline constexpr CapField bmLutDownload{CapWord::Fpga, 19, 1, "bmLutDownload"};
inline constexpr CapField bmSetColorMode{CapWord::Fpga, 20, 1, "bmSetColorMode"};
inline constexpr CapField bmGetColorMode{CapWord::Fpga, 21, 1, "bmGetColorMode"};
inline constexpr CapField bmAwbPresettings{CapWord::Fpga, 22, 1, "bmAwbPresettings"};
inline constexpr CapField bmAwbPresettingsNum{CapWord::Fpga, 23, 3, "bmAwbPresettingsNum"};
inline constexpr CapField bmAwbAutoOnce{CapWord::Fpga, 26, 1, "bmAwbAutoOnce"};
inline constexpr CapField bmAwbAutoContinuous{CapWord::Fpga, 27, 1, "bmAwbAutoContinuous"};
inline constexpr CapField bmSetAwbMatrix{CapWord::Fpga, 28, 1, "bmSetAwbMatrix"};
inline constexpr CapField bmGetAwbMatrix{CapWord::Fpga, 29, 1, "bmGetAwbMatrix"};
inline constexpr CapField bmCcmPresettings{CapWord::Fpga, 30, 1, "bmCcmPresettings"};
inline constexpr CapField bmCcmPresettingsNum{CapWord::Fpga, 31, 3, "bmCcmPresettingsNum"};
inline constexpr CapField bmCcmAutoOnce{CapWord::Fpga, 34, 1, "bmCcmAutoOnce"};
inline constexpr CapField bmCcmAutoContinuous{CapWord::Fpga, 35, 1, "bmCcmAutoContinuous"};
inline constexpr CapField bmSetCcmMatrix{CapWord::Fpga, 36, 1, "bmSetCcmMatrix"};
inline constexpr CapField bmGetCcmMatrix{CapWord::Fpga, 37, 1, "bmGetCcmMatrix"};
inline constexpr CapField bmStrobeDelay{CapWord::Fpga, 38, 1, "bmStrobeDelay"};
inline constexpr CapField bmGpioNormal{CapWord::Fpga, 39, 1, "bmGpioNormal"};
inline constexpr CapField bmIoFilter{CapWord::Fpga, 40, 1, "bmIoFilter"};
inline constexpr CapField bmWorkingModeEx{CapWord::Fpga, 41, 1, "bmWorkingModeEx"};
inline constexpr CapField bmGammaLutEnable{CapWord::Fpga, 42, 1, "bmGammaLutEnable"};
inline constexpr CapField bmWaterMarkMode{CapWord::Fpga, 43, 1, "bmWaterMarkMode"};
inline constexpr CapField bmExposureLine{CapWord::Fpga, 44, 1, "bmExposureLine"};
inline constexpr CapField bmFixeFrameRateStep1uS{CapWord::Fpga, 45, 1, "bmFixeFrameRateStep1uS"};
inline constexpr CapField bmGammaLutDownload{CapWord::Fpga, 46, 1, "bmGammaLutDownload"};
inline constexpr CapField bmTriggerModeHighLowFixFramerate{CapWord::Fpga, 47, 1,
                                                           "bmTriggerModeHighLowFixFramerate"};
// Bits 48-51 come only from the presets: no ini key, not in the dump.
inline constexpr CapField bmStreamMode{CapWord::Fpga, 48, 1, nullptr};
inline constexpr CapField bm3DRegisters{CapWord::Fpga, 49, 1, nullptr};
inline constexpr CapField bmFixFrameRateWide{CapWord::Fpga, 50, 1, nullptr};
inline constexpr CapField bmWaterMarkInfoEx{CapWord::Fpga, 51, 1, nullptr};
}  // namespace FpgaCap
