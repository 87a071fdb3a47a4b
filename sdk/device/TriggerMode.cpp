// Trigger mode and trigger method: bits of the FPGA's working-mode register.
// Changing them changes the frame stream, so the preview and the stream stop
// around the write.
#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "device/Device.h"
#include "platform/Time.h"

namespace {
// Working-mode bits b0, b1 and b12 of each trigger mode.
constexpr uint16_t kModeBits[5] = {0, WORKINGMODE_TRIGGER_B0, WORKINGMODE_TRIGGER_B12,
                                   WORKINGMODE_TRIGGER_B0 | WORKINGMODE_TRIGGER_B12,
                                   WORKINGMODE_TRIGGER_MODE};
constexpr uint32_t kAfterModeChangeMs = 10;

}  // namespace

int CDevice::TriggerModeSet(int nMode) {
    return Controlled([&] {
        static const CapField* const kNeeds[5] = {
            nullptr, &FpgaCap::bmTriggerModeExternal, &FpgaCap::bmTriggerModeSoftware,
            &FpgaCap::bmTriggerModeFixedFrameRate, &FpgaCap::bmTriggerModeHighLowFixFramerate};
        if (nMode < 0 || nMode > 4 ||
            (kNeeds[nMode] != nullptr && !m_Capability.Has(*kNeeds[nMode]))) {
            return RET_NOTSUPPORT;
        }
        const uint16_t wMode = m_Fpga.Shadows().WorkingMode;
        return ModeChangeWrite(
            FPGAREG_WORKING_MODE,
            static_cast<uint16_t>((wMode & ~WORKINGMODE_TRIGGER_MODE) | kModeBits[nMode]), true);
    });
}

int CDevice::TriggerModeGet(int* pMode) const {
    if (pMode == nullptr) {
        return RET_PARAMERROR;
    }
    const uint16_t wBits = m_Fpga.Shadows().WorkingMode & WORKINGMODE_TRIGGER_MODE;
    if (!m_Capability.Has(FpgaCap::bmTriggerModeHighLowFixFramerate)) {
        *pMode = ((wBits & WORKINGMODE_TRIGGER_B0) != 0 ? 1 : 0) +
                 ((wBits & WORKINGMODE_TRIGGER_B12) != 0 ? 2 : 0);
        return RET_SUCCESS;
    }
    *pMode = 3;
    for (int i = 0; i < 5; ++i) {
        if (kModeBits[i] == wBits) {
            *pMode = i;
        }
    }
    return RET_SUCCESS;
}

int CDevice::TriggerMethodSet(int nMethod) {
    return Controlled([&] {
        static const CapField* const kNeeds[4] = {
            &FpgaCap::bmTriggerMethodNegedge, &FpgaCap::bmTriggerMethodPosedge,
            &FpgaCap::bmTriggerMethodHig, &FpgaCap::bmTriggerMethodLow};
        if (nMethod >= 0 && nMethod <= 3 && !m_Capability.Has(*kNeeds[nMethod])) {
            return RET_NOTSUPPORT;
        }
        const uint16_t wMode = m_Fpga.Shadows().WorkingMode;
        return ModeChangeWrite(
            FPGAREG_WORKING_MODE,
            static_cast<uint16_t>((wMode & ~WORKINGMODE_TRIGGER_METHOD) |
                                  ((nMethod & 3) << kWorkingModeTriggerMethodShift)),
            true);
    });
}

int CDevice::ModeChangeWrite(int nRegister, uint16_t wValue, bool bSkipWhenEqual) {
    return Controlled([&] {
        const uint16_t* pShadow = m_Fpga.ShadowOf(nRegister);
        if (bSkipWhenEqual && pShadow != nullptr && *pShadow == wValue) {
            return RET_SUCCESS;
        }
        const bool bRestoreType = LosesRegistersWhenStreamStops(m_nDeviceType);
        const bool bParallel = m_Preview.bParallel;
        const bool bRestart = m_Preview.nStatus == PreviewState::kRunning && !bRestoreType;
        if (bRestart) {
            StopPreview(bParallel, false);
        }
        const bool bStreaming = SupportsStreamMode() && m_Transport.StreamStarted();
        if (bStreaming) {
            m_Transport.SetStreamStarted(false);
            m_Vendor.VendorCmd_StopAcq();
        }
        const int nRet = m_Fpga.Fpga_WrRelateReg(nRegister, wValue);
        if (bStreaming && m_Vendor.VendorCmd_StartAcq() == RET_SUCCESS) {
            m_Transport.SetStreamStarted(true);
        }
        if (bRestoreType) {
            if (m_Preview.nStatus == PreviewState::kStopped) {
                SensorRestoreRegs();
                m_Bus.ResetDeviceAndHost();
                plat::SleepMs(kAfterModeChangeMs);
            }
        } else if (bRestart) {
            StartPreview(bParallel);
            plat::SleepMs(kAfterModeChangeMs);
        }
        return nRet;
    });
}
