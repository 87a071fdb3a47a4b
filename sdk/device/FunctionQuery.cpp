// The capability query: whether the camera offers a function, by number,
// read from its capability words and a few registers.
#include "ZDQApi.h"
#include "device/Device.h"

int CDevice::QueryFunction(int nFunction, int* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    if (static_cast<unsigned>(nFunction) > 57) {
        *pValue = 0;
        return RET_PARAMERROR;
    }
    static const CapField* const kBits[58] = {
        &SensorCap::bmMono,
        &SensorCap::bmResolution,
        &SensorCap::bmMirror,
        &SensorCap::bmFlip,
        &SensorCap::bmSkip2,
        &SensorCap::bmSkip3,
        &SensorCap::bmSkip4,
        &SensorCap::bmSkip8,
        &SensorCap::bmBinning,
        &SensorCap::bmAGC,
        &SensorCap::bmAEC,
        &FpgaCap::bmTriggerModeExternal,
        &FpgaCap::bmTriggerModeSoftware,
        &FpgaCap::bmTriggerModeFixedFrameRate,
        nullptr,  // 14: always 0
        &FpgaCap::bmSetTriggerFixFrameRate,
        &FpgaCap::bmLutEnable,
        &FpgaCap::bmTriggerMethodNegedge,
        &FpgaCap::bmTriggerMethodPosedge,
        &FpgaCap::bmTriggerMethodHig,
        &FpgaCap::bmTriggerMethodLow,
        &FpgaCap::bmEmptyFrameBuffer,
        &FpgaCap::bmSensitivityMode,
        &FpgaCap::bm16BitsTransfer,
        &FpgaCap::bmBadPixelCorrection,
        &FpgaCap::bmLutDownload,
        &FpgaCap::bmAwbPresettings,
        &FpgaCap::bmAwbPresettingsNum,
        &FpgaCap::bmAwbAutoOnce,
        &FpgaCap::bmAwbAutoContinuous,
        &FpgaCap::bmCcmPresettings,
        &FpgaCap::bmCcmPresettingsNum,
        &FpgaCap::bmGammaLutEnable,
        &FpgaCap::bmGammaLutDownload,
        &FpgaCap::bmSetTriggerDelay,
        &FpgaCap::bmSetMultiFramesNum,
        &FpgaCap::bmSetAwbMatrix,
        &FpgaCap::bmSetCcmMatrix,
        &FpgaCap::bmGpioNormal,
        &FpgaCap::bmIoFilter,
        &FpgaCap::bmWaterMarkMode,
        nullptr,  // 41: FPGA version
        &FirmwareCap::bmResetDevice,
        &FirmwareCap::bmSendPktEnd,
        &FirmwareCap::bmReconnect,
        &FirmwareCap::bmFastUpdate,
        &FirmwareCap::bmProgramWorkingMode,
        &FirmwareCap::bmProgramSerialsDesc,
        &FirmwareCap::bmProgramLut,
        &FirmwareCap::bmProgramGammaLut,
        &FirmwareCap::bmProgramWorkingModeEx,
        &FirmwareCap::bmProgramColorMode,
        &FirmwareCap::bmProgramColorMatrix,
        nullptr,  // 53: snap button
        nullptr,  // 54: general-purpose pins
        &FpgaCap::bmTriggerModeHighLowFixFramerate,
        &FpgaCap::bmStreamMode,
        &FpgaCap::bm3DRegisters,
    };
    switch (nFunction) {
        case 41:
            *pValue = m_wFpgaVersion != 0 ? 1 : 0;
            break;
        case 51:
        case 52:
            *pValue = IsMono() ? 0 : static_cast<int>(m_Capability.Get(*kBits[nFunction]));
            break;
        case 53: {
            const bool bSnapPin = m_Capability.Has(HardwareCap::bmSnapIo0) ||
                                  m_Capability.Has(HardwareCap::bmSnapPC2) ||
                                  m_Capability.Has(HardwareCap::bmSnapPA1);
            const bool bSnapGpio =
                m_Capability.Has(FpgaCap::bmGpioNormal) && (m_Fpga.Shadows().IoMode & 3) == 1;
            *pValue = bSnapPin || bSnapGpio ? 1 : 0;
            break;
        }
        case 54:
            *pValue = GeneralPurposePinCount();
            break;
        default:
            *pValue = kBits[nFunction] != nullptr
                          ? static_cast<int>(m_Capability.Get(*kBits[nFunction]))
                          : 0;
            break;
    }
    return RET_SUCCESS;
}

int CDevice::GeneralPurposePinCount() const {
    if (m_Capability.Has(FpgaCap::bmGpioNormal)) {
        return 2;
    }
    if (!m_Capability.Has(HardwareCap::bmIo)) {
        return 0;
    }
    static const struct {
        const CapField* pBit;
        int nPins;
    } kLayouts[] = {{&HardwareCap::bmPD0_3, 4}, {&HardwareCap::bmPD0_7, 8},
                    {&HardwareCap::bmPD2_3, 2}, {&HardwareCap::bmPD2_5, 4},
                    {&HardwareCap::bmPD2_7, 6}, {&HardwareCap::bmPD6, 1},
                    {&HardwareCap::bmPE0_3, 4}};
    for (const auto& layout : kLayouts) {
        if (m_Capability.Has(*layout.pBit)) {
            return layout.nPins - (m_Capability.Has(HardwareCap::bmSnapIo0) ? 1 : 0);
        }
    }
    return 0;
}
