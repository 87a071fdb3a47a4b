#include "capability/CapabilityLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capability/CapabilityPresets.h"

namespace {

// The dump of a colour AR0130 camera (type 17) on an FPGA of major 9.
TEST(CapabilityLog, DumpLinesOfOneModel) {
    DeviceCapability cap;
    SetModelCapability(cap, 17, CapVersion{1, 0});
    SetFpgaCapability(cap, 17, CapVersion{1, 0}, CapVersion{9, 0});
    const std::vector<std::wstring> expected = {
        L"ZDQAPI::++++Sensor Capability++++.",        L"ZDQAPI::bmMono:                        0",
        L"ZDQAPI::bmBayerMode:                   1",  L"ZDQAPI::bmMirror:                      1",
        L"ZDQAPI::bmFlip:                        1",  L"ZDQAPI::bmSkip2:                       1",
        L"ZDQAPI::bmSkip3:                       0",  L"ZDQAPI::bmSkip4:                       0",
        L"ZDQAPI::bmSkip8:                       0",  L"ZDQAPI::bmBinning:                     1",
        L"ZDQAPI::bmGlobalReset:                 0",  L"ZDQAPI::bmFovSizeFormat:               0",
        L"ZDQAPI::bmFovEndFormat:                1",  L"ZDQAPI::bmEven:                        0",
        L"ZDQAPI::bmAGC:                         0",  L"ZDQAPI::bmAEC:                         0",
        L"ZDQAPI::bmFrameRestart:                0",  L"ZDQAPI::bmFlashEnable:                 0",
        L"ZDQAPI::bmFlashInvert:                 0",  L"ZDQAPI::bmGlobalGain:                  0",
        L"ZDQAPI::bmNoNeedChangeBayerWhenFlip:   1",  L"ZDQAPI::bmNoNeedChangeBayerWhenMirror: 1",
        L"ZDQAPI::bmResolution:                  12", L"ZDQAPI::----Sensor Capability----.",
        L"ZDQAPI::++++Hardware Capability++++.",      L"ZDQAPI::bmIo:                          0",
        L"ZDQAPI::bmPD0_7:                       0",  L"ZDQAPI::bmPD2_3:                       0",
        L"ZDQAPI::bmPD0_3:                       0",  L"ZDQAPI::bmPE0_3:                       0",
        L"ZDQAPI::bmPD2_5:                       0",  L"ZDQAPI::bmPD2_7:                       0",
        L"ZDQAPI::bmPD6:                         0",  L"ZDQAPI::bmOPT2:                        0",
        L"ZDQAPI::bmSnapIo0:                     0",  L"ZDQAPI::bmSnapPC2:                     0",
        L"ZDQAPI::bmSnapPA1:                     0",  L"ZDQAPI::bmHasFpga:                     1",
        L"ZDQAPI::bmHasFifo:                     0",  L"ZDQAPI::bmHasTmp101:                   0",
        L"ZDQAPI::bmE2PRomType:                  2",  L"ZDQAPI::----Hardware Capability----.",
        L"ZDQAPI::++++Fpga Capability++++.",          L"ZDQAPI::bmGetWorkingMode:            1",
        L"ZDQAPI::bmTriggerModeExternal:       1",    L"ZDQAPI::bmTriggerModeSoftware:       1",
        L"ZDQAPI::bmTriggerModeFixedFrameRate: 1",    L"ZDQAPI::bmLutEnable:                 1",
        L"ZDQAPI::bmTriggerMethodNegedge:      1",    L"ZDQAPI::bmTriggerMethodPosedge:      1",
        L"ZDQAPI::bmTriggerMethodHig:          1",    L"ZDQAPI::bmTriggerMethodLow:          1",
        L"ZDQAPI::bmEmptyFrameBuffer:          1",    L"ZDQAPI::bmSensitivityMode:           1",
        L"ZDQAPI::bm16BitsTransfer:            1",    L"ZDQAPI::bmBadPixelCorrection:        1",
        L"ZDQAPI::bmSetTriggerDelay:           1",    L"ZDQAPI::bmGetTriggerDelay:           1",
        L"ZDQAPI::bmSetMultiFramesNum:         1",    L"ZDQAPI::bmGetMultiFramesNum:         1",
        L"ZDQAPI::bmSetTriggerFixFrameRate:    1",    L"ZDQAPI::bmGetTriggerFixFrameRate:    1",
        L"ZDQAPI::bmLutDownload:               1",    L"ZDQAPI::bmSetColorMode:              1",
        L"ZDQAPI::bmGetColorMode:              1",    L"ZDQAPI::bmAwbPresettings:            1",
        L"ZDQAPI::bmAwbPresettingsNum:         3",    L"ZDQAPI::bmAwbAutoOnce:               1",
        L"ZDQAPI::bmAwbAutoContinuous:         1",    L"ZDQAPI::bmSetAwbMatrix:              1",
        L"ZDQAPI::bmGetAwbMatrix:              1",    L"ZDQAPI::bmCcmPresettings:            1",
        L"ZDQAPI::bmCcmPresettingsNum:         3",    L"ZDQAPI::bmCcmAutoOnce:               0",
        L"ZDQAPI::bmCcmAutoContinuous:         0",    L"ZDQAPI::bmSetCcmMatrix:              1",
        L"ZDQAPI::bmGetCcmMatrix:              1",    L"ZDQAPI::bmStrobeDelay:               0",
        L"ZDQAPI::bmGpioNormal:                1",    L"ZDQAPI::bmIoFilter:                  1",
        L"ZDQAPI::bmWorkingModeEx:             0",    L"ZDQAPI::bmGammaLutEnable:            0",
        L"ZDQAPI::bmWaterMarkMode:             1",    L"ZDQAPI::bmExposureLine:              0",
        L"ZDQAPI::bmFixeFrameRateStep1uS:      0",    L"ZDQAPI::bmGammaLutDownload:          1",
        L"ZDQAPI::----Fpga Capability----.",
    };
    EXPECT_EQ(CapabilityDumpLines(cap), expected);
}

// Firmware word, pixel clock and FPGA bits 47-51 are not part of the dump.
TEST(CapabilityLog, DumpLeavesOutFirmwareClockAndHighFpgaBits) {
    DeviceCapability plain;
    DeviceCapability extra;
    extra.FirmwareCapability = 0x1FFFFF;
    extra.SetPixClk(99.0f);
    extra.FpgaCapability = std::uint64_t{0x1F} << 47;
    EXPECT_EQ(CapabilityDumpLines(extra), CapabilityDumpLines(plain));
}

}  // namespace
