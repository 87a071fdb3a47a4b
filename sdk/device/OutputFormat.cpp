// The format of the frames a device hands out (a bitmap record: header and
// grey palette), the output mode and the Bayer and demosaic settings of the
// colour path.
#include <mutex>

#include "ZDQApi.h"
#include "acquisition/Demosaic.h"
#include "device/Device.h"

void CDevice::CreateOutputFormat() {
    if (!m_pBitmapInfo) {
        m_pBitmapInfo = std::make_unique<PlatBitmapInfo>();
    }
    *m_pBitmapInfo = PlatBitmapInfo{};
    PlatDibHeader& header = m_pBitmapInfo->bmiHeader;
    header.biSize = sizeof(PlatDibHeader);
    header.biPlanes = 1;
    header.biCompression = PLAT_BI_RGB;
    for (int i = 0; i < 256; ++i) {
        const uint8_t v = static_cast<uint8_t>(i);
        m_pBitmapInfo->bmiColors[i] = PlatRgbQuad{v, v, v, 0};
    }
}

int CDevice::ApplyOutputFormat() {
    if (!m_pBitmapInfo) {
        return RET_FAIL;
    }
    PlatDibHeader& header = m_pBitmapInfo->bmiHeader;
    if (m_nOutputMode == kOutputRaw) {
        header.biBitCount = 8;
    } else if (m_nOutputMode == kOutputColour) {
        const int nBits = BayerModeBitCount(m_nBayerModeEffective);
        if (nBits == 0) {
            return RET_NOTSUPPORT;
        }
        header.biBitCount = static_cast<uint16_t>(nBits);
    }
    header.biSizeImage = static_cast<uint32_t>(header.biBitCount / 8) *
                         static_cast<uint32_t>(header.biHeight) *
                         static_cast<uint32_t>(header.biWidth);
    header.biClrUsed = header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
    return RET_SUCCESS;
}

int CDevice::GetOutputBitCount() const {
    if (m_nOutputMode != kOutputColour) {
        return 8;
    }
    return m_nBayerModeEffective >= 8 && m_nBayerModeEffective < 16    ? 32
           : m_nBayerModeEffective >= 16 && m_nBayerModeEffective < 24 ? 8
                                                                       : 24;
}

int CDevice::SetOutputMode(int nMode) {
    if (static_cast<unsigned>(nMode) > kOutputColour) {
        return RET_PARAMERROR;
    }
    // A running preview converts and draws its frames by the mode and the
    // format under the Bayer lock.
    plat::CriticalSectionLock bayer(m_BayerLock);
    if (nMode == m_nOutputMode) {
        return RET_SUCCESS;
    }
    m_nOutputMode = nMode;
    return ApplyOutputFormat();
}

int CDevice::BayerSetMode(int nMode) {
    if (static_cast<unsigned>(nMode) > kMaxBayerMode) {
        return RET_PARAMERROR;
    }
    // A running preview converts and draws its frames by the mode and the
    // format under the Bayer lock.
    plat::CriticalSectionLock bayer(m_BayerLock);
    if (nMode != m_nBayerMode) {
        m_nBayerMode = nMode;
        UpdateBayerModeForFlipMirror();
        ApplyOutputFormat();
    }
    return RET_SUCCESS;
}

int CDevice::FilterSetMode(int nMode) {
    if (static_cast<unsigned>(nMode) > kMaxDemosaicAlgorithm) {
        return RET_PARAMERROR;
    }
    m_nFilterMode = nMode;
    return RET_SUCCESS;
}
