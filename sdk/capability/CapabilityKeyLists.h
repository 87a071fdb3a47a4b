// Runs of named capability fields that the capability ini sections and the
// capability dump list in the same order.
#pragma once

#include "capability/DeviceCapability.h"

namespace capkeys {

// SensorCapability bits 0-21 (every sensor field but bmResolution).
inline constexpr const CapField* kSensorFlags[] = {
    &SensorCap::bmMono,
    &SensorCap::bmBayerMode,
    &SensorCap::bmMirror,
    &SensorCap::bmFlip,
    &SensorCap::bmSkip2,
    &SensorCap::bmSkip3,
    &SensorCap::bmSkip4,
    &SensorCap::bmSkip8,
    &SensorCap::bmBinning,
    &SensorCap::bmGlobalReset,
    &SensorCap::bmFovSizeFormat,
    &SensorCap::bmFovEndFormat,
    &SensorCap::bmEven,
    &SensorCap::bmAGC,
    &SensorCap::bmAEC,
    &SensorCap::bmFrameRestart,
    &SensorCap::bmFlashEnable,
    &SensorCap::bmFlashInvert,
    &SensorCap::bmGlobalGain,
    &SensorCap::bmNoNeedChangeBayerWhenFlip,
    &SensorCap::bmNoNeedChangeBayerWhenMirror,
};

// HardwareCapability in bit order.
inline constexpr const CapField* kHardware[] = {
    &HardwareCap::bmIo,         &HardwareCap::bmPD0_7,   &HardwareCap::bmPD2_3,
    &HardwareCap::bmPD0_3,      &HardwareCap::bmPE0_3,   &HardwareCap::bmPD2_5,
    &HardwareCap::bmPD2_7,      &HardwareCap::bmPD6,     &HardwareCap::bmSnapIo0,
    &HardwareCap::bmSnapPC2,    &HardwareCap::bmSnapPA1, &HardwareCap::bmOPT2,
    &HardwareCap::bmHasFpga,    &HardwareCap::bmHasFifo, &HardwareCap::bmHasTmp101,
    &HardwareCap::bmE2PRomType,
};

// FirmwareCapability bits 0-19 in bit order.
inline constexpr const CapField* kFirmware[] = {
    &FirmwareCap::bmWorkingMode,        &FirmwareCap::bmResetDevice,
    &FirmwareCap::bmSendPktEnd,         &FirmwareCap::bmReconnect,
    &FirmwareCap::bmFastUpdate,         &FirmwareCap::bmProgramWorkingMode,
    &FirmwareCap::bmProgramSerialsDesc, &FirmwareCap::bmProgramLut,
    &FirmwareCap::bmProgramGammaLut,    &FirmwareCap::bmProgramWorkingModeEx,
    &FirmwareCap::bmProgramColorMode,   &FirmwareCap::bmProgramColorMatrix,
    &FirmwareCap::bmSubCkNumInvert,     &FirmwareCap::bmReadFpgaDead,
    &FirmwareCap::bmGetVersionStatus,   &FirmwareCap::bmGetVersionStatusEx,
    &FirmwareCap::bmFixLast1Col,        &FirmwareCap::bmFixLast2Col,
    &FirmwareCap::bmFixLast1Row,        &FirmwareCap::bmFixLast2Row,
};

// FpgaCapability bits 0-3.
inline constexpr const CapField* kFpgaTriggerModes[] = {
    &FpgaCap::bmGetWorkingMode,
    &FpgaCap::bmTriggerModeExternal,
    &FpgaCap::bmTriggerModeSoftware,
    &FpgaCap::bmTriggerModeFixedFrameRate,
};

// FpgaCapability bits 4-46 in bit order.
inline constexpr const CapField* kFpgaFunctions[] = {
    &FpgaCap::bmLutEnable,
    &FpgaCap::bmTriggerMethodNegedge,
    &FpgaCap::bmTriggerMethodPosedge,
    &FpgaCap::bmTriggerMethodHig,
    &FpgaCap::bmTriggerMethodLow,
    &FpgaCap::bmEmptyFrameBuffer,
    &FpgaCap::bmSensitivityMode,
    &FpgaCap::bm16BitsTransfer,
    &FpgaCap::bmBadPixelCorrection,
    &FpgaCap::bmSetTriggerDelay,
    &FpgaCap::bmGetTriggerDelay,
    &FpgaCap::bmSetMultiFramesNum,
    &FpgaCap::bmGetMultiFramesNum,
    &FpgaCap::bmSetTriggerFixFrameRate,
    &FpgaCap::bmGetTriggerFixFrameRate,
    &FpgaCap::bmLutDownload,
    &FpgaCap::bmSetColorMode,
    &FpgaCap::bmGetColorMode,
    &FpgaCap::bmAwbPresettings,
    &FpgaCap::bmAwbPresettingsNum,
    &FpgaCap::bmAwbAutoOnce,
    &FpgaCap::bmAwbAutoContinuous,
    &FpgaCap::bmSetAwbMatrix,
    &FpgaCap::bmGetAwbMatrix,
    &FpgaCap::bmCcmPresettings,
    &FpgaCap::bmCcmPresettingsNum,
    &FpgaCap::bmCcmAutoOnce,
    &FpgaCap::bmCcmAutoContinuous,
    &FpgaCap::bmSetCcmMatrix,
    &FpgaCap::bmGetCcmMatrix,
    &FpgaCap::bmStrobeDelay,
    &FpgaCap::bmGpioNormal,
    &FpgaCap::bmIoFilter,
    &FpgaCap::bmWorkingModeEx,
    &FpgaCap::bmGammaLutEnable,
    &FpgaCap::bmWaterMarkMode,
    &FpgaCap::bmExposureLine,
    &FpgaCap::bmFixeFrameRateStep1uS,
    &FpgaCap::bmGammaLutDownload,
};

}  // namespace capkeys
