// The line-scan start controls of the FPGA's capture registers: start/end
// mode (register 65 low byte; bit 15 is the software start pulse, bits 8-14
// are kept), start filter (66), start delay (67) and multi-line count (68).
// What the modes mean to the line-scan camera is the FPGA's business.
#include "ZDQApi.h"
#include "device/Device.h"

namespace {
constexpr int kStartFilterRegister = FPGAREG_CAP_XXX + 1;
constexpr int kStartDelayRegister = FPGAREG_CAP_XXX + 2;
constexpr int kMultiLineRegister = FPGAREG_CAP_XXX + 3;
constexpr uint16_t kSoftwareStartPulse = 0x8000;
constexpr uint16_t kKeptModeBits = 0x7F00;
// Low byte of register 65 for start/end modes 0-5.
constexpr uint8_t kStartEndModeBytes[6] = {0x00, 0x02, 0x42, 0xA2, 0xD2, 0x01};
}  // namespace

int CDevice::StartEndModeSet(int nMode) {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    const uint8_t byMode = nMode >= 1 && nMode <= 5 ? kStartEndModeBytes[nMode] : 0;
    const uint16_t wShadow = m_Fpga.Shadows().wCap[0];
    return ModeChangeWrite(FPGAREG_CAP_XXX,
                           static_cast<uint16_t>((wShadow & kKeptModeBits) | byMode), false);
}

int CDevice::StartEndModeGet(int* pMode) const {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    const int nLow = m_Fpga.Shadows().wCap[0] & 0xFF;
    int nMode = 0;
    if ((nLow & 0x0F) == 1) {
        nMode = 5;
    } else if ((nLow & 0x0F) == 2) {
        nMode = 1 + ((nLow >> 6) & 3);
    }
    if (pMode != nullptr) {
        *pMode = nMode;
    }
    return RET_SUCCESS;
}

int CDevice::CaptureStartDelaySet(int nValue) {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    return ModeChangeWrite(kStartDelayRegister, static_cast<uint16_t>(nValue & 0xFFFF), false);
}

int CDevice::CaptureStartFilterSet(int nValue) {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    return ModeChangeWrite(kStartFilterRegister, static_cast<uint16_t>(nValue & 0xFFFF), false);
}

int CDevice::CaptureMultiLineSet(int nValue) {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    return ModeChangeWrite(kMultiLineRegister, static_cast<uint16_t>(nValue & 0xFFFF), false);
}

int CDevice::CaptureStartRegisterGet(int nRegister, uint16_t* pValue) const {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    if (pValue != nullptr) {
        *pValue = m_Fpga.Shadows().wCap[nRegister - FPGAREG_CAP_XXX];
    }
    return RET_SUCCESS;
}

int CDevice::CaptureSoftwareStart() {
    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    // The pulse is sent every time: the shadow never keeps bit 15.
    uint16_t& wShadow = m_Fpga.Shadows().wCap[0];
    const int nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_CAP_XXX,
                                             static_cast<uint16_t>(wShadow | kSoftwareStartPulse));
    wShadow = static_cast<uint16_t>(wShadow & ~kSoftwareStartPulse);
    return nRet;
}
