// Bad-pixel correction: the FPGA's (register 0 bit 2 on, bit 3 its mode)
// where the camera has it, else the software step of the raw chain with its
// near and far thresholds.
#include "ZDQApi.h"
#include "device/Device.h"

namespace {
constexpr uint16_t kBadPixelOn = 0x0004;
constexpr uint16_t kBadPixelMode = 0x0008;
}  // namespace

int CDevice::BadPixelCorrectionSet(bool bOn, int nMode) {
    m_bBadPixelCorrection = bOn;
    m_nBadPixelMode = nMode;
    if (nMode == 0) {
        m_ucBadPixelThresholdNear = BadPixelThresholds::kNear;
        m_ucBadPixelThresholdFar = BadPixelThresholds::kFar;
    }
    if (!m_Capability.Has(FpgaCap::bmBadPixelCorrection)) {
        return RET_SUCCESS;
    }
    const uint16_t wMode = m_Fpga.Shadows().WorkingMode & ~(kBadPixelOn | kBadPixelMode);
    const int nRet = m_Fpga.Fpga_WrRelateReg(
        FPGAREG_WORKING_MODE, static_cast<uint16_t>(wMode | (bOn ? kBadPixelOn : 0) |
                                                    ((nMode & 1) != 0 ? kBadPixelMode : 0)));
    return nRet == RET_SUCCESS || nRet == RET_NOTSUPPORT ? RET_SUCCESS : nRet;
}

int CDevice::BadPixelCorrectionGet(bool* pbOn, int* pMode) const {
    if (m_Capability.Has(FpgaCap::bmBadPixelCorrection)) {
        const uint16_t wMode = m_Fpga.Shadows().WorkingMode;
        if (pbOn != nullptr) {
            *pbOn = (wMode & kBadPixelOn) != 0;
        }
        if (pMode != nullptr) {
            *pMode = (wMode & kBadPixelMode) != 0 ? 1 : 0;
        }
        return RET_SUCCESS;
    }
    if (pbOn != nullptr) {
        *pbOn = m_bBadPixelCorrection;
    }
    if (pMode != nullptr) {
        *pMode = m_nBadPixelMode;
    }
    return RET_NOTSUPPORT;
}

int CDevice::BadPixelCorrectionSetThreshold(int nNear, int nFar) {
    if (m_Capability.Has(FpgaCap::bmBadPixelCorrection)) {
        return RET_NOTSUPPORT;
    }
    m_ucBadPixelThresholdNear = static_cast<uint8_t>(nNear);
    m_ucBadPixelThresholdFar = static_cast<uint8_t>(nFar);
    return RET_SUCCESS;
}

int CDevice::BadPixelCorrectionGetThreshold(uint8_t* pNear, uint8_t* pFar) const {
    if (pNear != nullptr) {
        *pNear = m_ucBadPixelThresholdNear;
    }
    if (pFar != nullptr) {
        *pFar = m_ucBadPixelThresholdFar;
    }
    return RET_SUCCESS;
}

void CDevice::CorrectBadPixelsInSoftware(uint8_t* pFrame, int nWidth, int nHeight) {
    if (m_Capability.Has(FpgaCap::bmBadPixelCorrection) || !m_bBadPixelCorrection) {
        return;
    }
    BadPixelThresholds thresholds;
    thresholds.ucNear = m_ucBadPixelThresholdNear;
    thresholds.ucFar = m_ucBadPixelThresholdFar;
    CorrectBadPixels(pFrame, nWidth, nHeight, thresholds, &m_FrameWorkers);
}
