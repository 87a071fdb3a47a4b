#include "acquisition/ColourMatrix.h"

#include <algorithm>
#include <cstdint>

#include "ZDQApi.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

// The 5-bit preset field of the FPGA's colour register.
constexpr int kPresetFieldMask = 0x1F;

}  // namespace

void CColourMatrix::Init(ColourGroup group, uint16_t wColourRegister) {
    Lock lock(m_Mutex);
    m_Group = group;
    m_nColorCorrectionMode = 0;
    m_nColorCorrectionPreset = 0;
    const int nKind = (wColourRegister >> 9) & 3;
    if ((wColourRegister & 0x100) != 0 && (nKind == 0 || nKind == 3)) {
        m_nColorCorrectionMode = nKind == 0 ? 3 : 4;
        if (nKind == 0) {
            m_nColorCorrectionPreset = (wColourRegister >> 11) & kPresetFieldMask;
        }
        m_Camera.FpgaMatrixRead(m_fColorCorrectionMatrix);
        return;
    }
    ColourMatrixPreset(m_Group, 0, m_fColorCorrectionMatrix);
}

int CColourMatrix::SetMode(int nMode) {
    Lock lock(m_Mutex);
    if (nMode < 0 || nMode > 4) {
        return RET_SUCCESS;
    }
    const int nOff = m_Camera.FpgaMatrixOff();
    if (nMode <= 2) {
        if (nOff != RET_SUCCESS && nOff != RET_NOTSUPPORT) {
            return nOff;
        }
        if (nMode == 1) {
            ColourMatrixPreset(m_Group, m_nColorCorrectionPreset, m_fColorCorrectionMatrix);
        }
        m_nColorCorrectionMode = nMode;
        return RET_SUCCESS;
    }
    if (nOff != RET_SUCCESS) {
        return nOff;
    }
    if (nMode == 3) {
        const int nRet = m_Camera.FpgaMatrixPreset(m_nColorCorrectionPreset & kPresetFieldMask);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        m_nColorCorrectionMode = 3;
        m_Camera.FpgaMatrixRead(m_fColorCorrectionMatrix);
        return RET_SUCCESS;
    }
    const int nRet = m_Camera.FpgaMatrixWrite(m_fColorCorrectionMatrix);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_nColorCorrectionMode = 4;
    return RET_SUCCESS;
}

int CColourMatrix::Mode() const {
    Lock lock(m_Mutex);
    return m_nColorCorrectionMode;
}

int CColourMatrix::SetPreset(int nPreset) {
    Lock lock(m_Mutex);
    if (m_nColorCorrectionMode == 1) {
        ColourMatrixPreset(m_Group, nPreset, m_fColorCorrectionMatrix);
        m_nColorCorrectionPreset = nPreset;
        return RET_SUCCESS;
    }
    if (m_nColorCorrectionMode == 3) {
        m_Camera.FpgaMatrixPreset(nPreset & kPresetFieldMask);
        m_nColorCorrectionPreset = nPreset;
        return m_Camera.FpgaMatrixRead(m_fColorCorrectionMatrix);
    }
    return RET_ILLEGALOPERATION;
}

int CColourMatrix::Preset() const {
    Lock lock(m_Mutex);
    return m_nColorCorrectionPreset;
}

int CColourMatrix::SetMatrix(const float fMatrix[9]) {
    Lock lock(m_Mutex);
    if (m_nColorCorrectionMode != 2 && m_nColorCorrectionMode != 4) {
        return RET_SUCCESS;
    }
    std::copy_n(fMatrix, 9, m_fColorCorrectionMatrix);
    return m_nColorCorrectionMode == 4 ? m_Camera.FpgaMatrixWrite(m_fColorCorrectionMatrix)
                                       : RET_SUCCESS;
}

void CColourMatrix::Matrix(float fMatrix[9]) const {
    Lock lock(m_Mutex);
    std::copy_n(m_fColorCorrectionMatrix, 9, fMatrix);
}

void CColourMatrix::Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                          CFrameWorkers* pWorkers) const {
    Lock lock(m_Mutex);
    if ((m_nColorCorrectionMode != 1 && m_nColorCorrectionMode != 2) || pRgb == nullptr ||
        (nBitCount != 24 && nBitCount != 32)) {
        return;
    }
    const size_t nStep = static_cast<size_t>(nBitCount / 8);
    const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
    ApplyTablesAndMatrix(pRgb, nPixels, nStep, nullptr, m_fColorCorrectionMatrix, pWorkers);
}

bool CColourMatrix::SoftwareMatrix(float fMatrix[9]) const {
    Lock lock(m_Mutex);
    if (m_nColorCorrectionMode != 1 && m_nColorCorrectionMode != 2) {
        return false;
    }
    std::copy_n(m_fColorCorrectionMatrix, 9, fMatrix);
    return true;
}
