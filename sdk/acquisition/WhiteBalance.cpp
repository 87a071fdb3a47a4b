// The white-balance modes, their tables and the grey-world search.
#include "acquisition/WhiteBalance.h"

#include <algorithm>
#include <cmath>

#include "common/Log.h"
#include "common/Saturate.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// The 5-bit preset field of the FPGA's colour register.
constexpr int kPresetFieldMask = 0x1F;

bool IsColourBitCount(int nBitCount) {
    return nBitCount == 24 || nBitCount == 32;
}

}  // namespace

void CWhiteBalance::Init(ColourGroup group, bool bMono, uint16_t wColourRegister,
                         int32_t nCaptureWidth, int32_t nCaptureHeight) {
    Lock lock(m_Mutex);
    m_Group = group;
    m_rcAWBRegion = bMono ? FrameRegion{} : FrameRegion{0, 0, nCaptureWidth, nCaptureHeight};
    m_bAWBShowRegion = false;
    m_pfAWBCallback = nullptr;
    m_lpAWBCallbackContext = nullptr;
    m_nAWBMaxCount = kDefaultMaxCount;
    m_bAWBStart = false;
    std::fill(std::begin(m_nAWBTarget), std::end(m_nAWBTarget), kDefaultTarget);
    m_nAWBCounter = 0;
    m_nWhiteBalanceAutoThreshold = 0;
    m_pfWhiteBalanceAutoCallback = nullptr;
    m_pfWhiteBalanceAutoCallbackEx = nullptr;
    m_nWhiteBalanceMode = 0;
    m_bWhiteBalanceUpdate = false;
    if (!bMono && (wColourRegister & 1) != 0) {
        m_nWhiteBalanceMode = 5 + ((wColourRegister >> 1) & 3);
        m_nWhiteBalancePreset =
            m_nWhiteBalanceMode == 5 ? (wColourRegister >> 3) & kPresetFieldMask : 0;
        ReadFpgaGains();
    } else {
        m_nWhiteBalancePreset = 0;
        WhiteBalancePreset(m_Group, 0, m_fWhiteBalanceMatrix);
    }
    MakeTables();
}

int CWhiteBalance::SetMode(int nMode) {
    Lock lock(m_Mutex);
    if (nMode < 0 || nMode > 8) {
        return RET_PARAMERROR;
    }
    int nRet = RET_SUCCESS;
    if (nMode <= 4) {
        nRet = m_Camera.FpgaWhiteBalanceOff();
        if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
            return nRet;
        }
        if (nMode == 1) {
            WhiteBalancePreset(m_Group, m_nWhiteBalancePreset, m_fWhiteBalanceMatrix);
        }
        m_bWhiteBalanceUpdate = nMode != 0;
        m_nWhiteBalanceMode = nMode;
        return RET_SUCCESS;
    }
    switch (nMode) {
        case 5:
            nRet = m_Camera.FpgaWhiteBalancePreset(m_nWhiteBalancePreset & kPresetFieldMask);
            break;
        case 6:
            nRet = m_Camera.FpgaWhiteBalanceOff();
            if (nRet == RET_SUCCESS) {
                nRet = m_Camera.FpgaWhiteBalanceAuto(false);
            }
            break;
        case 7:
            nRet = m_Camera.FpgaWhiteBalanceAuto(true);
            break;
        default:
            nRet = m_Camera.FpgaWhiteBalanceWriteGains(m_fWhiteBalanceMatrix);
            break;
    }
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    m_bWhiteBalanceUpdate = nMode == 5 || nMode == 6;
    m_nWhiteBalanceMode = nMode;
    return RET_SUCCESS;
}

int CWhiteBalance::Mode() const {
    Lock lock(m_Mutex);
    return m_nWhiteBalanceMode;
}

void CWhiteBalance::SetAutoThreshold(int nThreshold) {
    Lock lock(m_Mutex);
    m_nWhiteBalanceAutoThreshold = nThreshold;
}

int CWhiteBalance::AutoThreshold() const {
    Lock lock(m_Mutex);
    return m_nWhiteBalanceAutoThreshold;
}

int CWhiteBalance::SetGains(const float fGains[3]) {
    Lock lock(m_Mutex);
    if (m_nWhiteBalanceMode == 4) {
        std::copy_n(fGains, 3, m_fWhiteBalanceMatrix);
        m_bWhiteBalanceUpdate = true;
        return RET_SUCCESS;
    }
    if (m_nWhiteBalanceMode == 8) {
        std::copy_n(fGains, 3, m_fWhiteBalanceMatrix);
        return m_Camera.FpgaWhiteBalanceWriteGains(m_fWhiteBalanceMatrix);
    }
    return RET_ILLEGALOPERATION;
}

void CWhiteBalance::Gains(float fGains[3]) const {
    Lock lock(m_Mutex);
    std::copy_n(m_fWhiteBalanceMatrix, 3, fGains);
}

void CWhiteBalance::SetAutoCallback(WhiteBalanceAutoCallback pfCallback, void* pContext) {
    Lock lock(m_Mutex);
    m_pfWhiteBalanceAutoCallback = pfCallback;
    m_lpWhiteBalanceAutoCallbackContext = pContext;
}

void CWhiteBalance::SetAutoCallbackEx(WhiteBalanceAutoCallbackEx pfCallback, void* pContext) {
    Lock lock(m_Mutex);
    m_pfWhiteBalanceAutoCallbackEx = pfCallback;
    m_lpWhiteBalanceAutoCallbackExContext = pContext;
}

int CWhiteBalance::SetPreset(int nPreset) {
    Lock lock(m_Mutex);
    m_nWhiteBalancePreset = nPreset;
    if (m_nWhiteBalanceMode == 1) {
        WhiteBalancePreset(m_Group, nPreset, m_fWhiteBalanceMatrix);
        m_bWhiteBalanceUpdate = true;
    } else if (m_nWhiteBalanceMode == 5) {
        const int nRet = m_Camera.FpgaWhiteBalancePreset(nPreset & kPresetFieldMask);
        m_bWhiteBalanceUpdate = true;
        return nRet;
    }
    return RET_SUCCESS;
}

int CWhiteBalance::Preset() const {
    Lock lock(m_Mutex);
    return m_nWhiteBalancePreset;
}

void CWhiteBalance::ReadFpgaGains() {
    float fGains[3] = {m_fWhiteBalanceMatrix[0], m_fWhiteBalanceMatrix[1],
                       m_fWhiteBalanceMatrix[2]};
    if (m_Camera.FpgaWhiteBalanceReadGains(fGains) == RET_SUCCESS) {
        std::copy_n(fGains, 3, m_fWhiteBalanceMatrix);
    }
}

void CWhiteBalance::MakeTables() {
    // Channel c of the gains is red, green, blue; the tables are blue,
    // green, red.
    for (int c = 0; c < 3; ++c) {
        Table& table = m_ucWhiteBalanceTable[2 - c];
        for (int i = 0; i < 256; ++i) {
            const float fScaled = static_cast<float>(i) * m_fWhiteBalanceMatrix[c];
            const double dValue = std::clamp(static_cast<double>(fScaled) + 0.5, 0.0, 255.0);
            table[i] = SaturatedCast<uint8_t>(dValue);
        }
    }
    m_ColourTables.SetTables(m_ucWhiteBalanceTable[2], m_ucWhiteBalanceTable[1],
                             m_ucWhiteBalanceTable[0]);
}

void CWhiteBalance::CallAutoCallback() {
    if (m_pfWhiteBalanceAutoCallback != nullptr) {
        m_pfWhiteBalanceAutoCallback(m_fWhiteBalanceMatrix, m_lpWhiteBalanceAutoCallbackContext);
    } else if (m_pfWhiteBalanceAutoCallbackEx != nullptr) {
        m_pfWhiteBalanceAutoCallbackEx(m_fWhiteBalanceMatrix[0], m_fWhiteBalanceMatrix[1],
                                       m_fWhiteBalanceMatrix[2],
                                       m_lpWhiteBalanceAutoCallbackExContext);
    }
}

bool CWhiteBalance::TablesStep(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                               RgbTables& tables) {
    Lock lock(m_Mutex);
    bool bTables = false;
    switch (m_nWhiteBalanceMode) {
        case 1:
        case 4:
            if (m_bWhiteBalanceUpdate) {
                MakeTables();
                m_bWhiteBalanceUpdate = false;
                if (m_nWhiteBalanceMode == 1) {
                    CallAutoCallback();
                }
            }
            bTables = true;
            break;
        case 2:
        case 3:
            if (m_bWhiteBalanceUpdate || m_nWhiteBalanceMode == 3) {
                MakeTableAuto(pRgb, nWidth, nHeight, nBitCount);
                m_bWhiteBalanceUpdate = false;
                CallAutoCallback();
            }
            bTables = true;
            break;
        case 5:
        case 6:
            if (m_bWhiteBalanceUpdate) {
                m_bWhiteBalanceUpdate = false;
                ReadFpgaGains();
                CallAutoCallback();
            }
            break;
        case 7:
            ReadFpgaGains();
            CallAutoCallback();
            break;
        default:
            break;
    }
    if (!bTables || pRgb == nullptr || !IsColourBitCount(nBitCount)) {
        return false;
    }
    tables.blue = m_ucWhiteBalanceTable[0];
    tables.green = m_ucWhiteBalanceTable[1];
    tables.red = m_ucWhiteBalanceTable[2];
    return true;
}

void CWhiteBalance::WhiteBalanceStep(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                                     CFrameWorkers* pWorkers) {
    RgbTables tables;
    if (TablesStep(pRgb, nWidth, nHeight, nBitCount, tables)) {
        const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
        ApplyTablesAndMatrix(pRgb, nPixels, static_cast<size_t>(nBitCount / 8), &tables, nullptr,
                             pWorkers);
    }
}

void CWhiteBalance::ColourCorrectSearch(const uint8_t* pRgb, int nWidth, int nHeight,
                                        int nBitCount) {
    Lock lock(m_Mutex);
    MakeTableAuto(pRgb, nWidth, nHeight, nBitCount);
    CallAutoCallback();
}

int CWhiteBalance::MakeTableAuto(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount) {
    Lock lock(m_Mutex);
    LogPrint(m_Camera.ColourLog(), LOGLEVEL_NORMAL, L"ZDQAPI::++RgbData8_MakeTable_AWB.");
    if (!IsColourBitCount(nBitCount)) {
        return RET_NOTSUPPORT;
    }
    if (pRgb == nullptr || !UpdateRealRegion(nWidth, nHeight)) {
        return RET_PARAMERROR;
    }
    const FrameRegion& r = m_rcAWBRealRegion;
    const size_t nStep = static_cast<size_t>(nBitCount / 8);
    const float fThreshold = static_cast<float>(m_nWhiteBalanceAutoThreshold);
    uint64_t nCount = 0;
    uint64_t nSum[3] = {};  // red, green, blue
    double dSumY = 0, dSumCb = 0, dSumCr = 0;
    for (int y = r.y; y < r.y + r.height; ++y) {
        const uint8_t* p = pRgb + (static_cast<size_t>(y) * nWidth + r.x) * nStep;
        for (int x = 0; x < r.width; ++x, p += nStep) {
            const uint8_t b = p[0], g = p[1], red = p[2];
            if (b == 255 || g == 255 || red == 255) {
                continue;
            }
            const float fR = red, fG = g, fB = b;
            const float fY = 0.299f * fR + 0.587f * fG + 0.114f * fB;
            const float fCb = 0.5f * fB - (0.3313f * fG + 0.1687f * fR);
            const float fCr = 0.5f * fR - 0.4187f * fG - 0.0813f * fB;
            if (fY - std::fabs(fCb) - std::fabs(fCr) > fThreshold) {
                ++nCount;
                nSum[0] += red;
                nSum[1] += g;
                nSum[2] += b;
                dSumY += fY;
                dSumCb += fCb;
                dSumCr += fCr;
            }
        }
    }
    if (nCount == 0) {
        return RET_PARAMERROR;
    }
    const double m = static_cast<double>(nCount);
    const float y = static_cast<float>(dSumY / m);
    const float cb = static_cast<float>(dSumCb / m);
    const float cr = static_cast<float>(dSumCr / m);
    const float t = 0.3313f * y - 0.114f * cb - 0.2366f * cr;
    const float u = 0.701f * cr + 0.5f * y;
    const float w = 0.4187f * y - 0.1441f * cb - 0.299f * cr;
    const float a = -0.1687f * y - 0.2365f * cr;
    const float bb = 0.866f * cb + 0.5f * y;
    const float v = -0.0813f * y - 0.1441f * cb;
    const float fDenominator = u * bb - v * a;
    float fRed = (t * v - w * bb) / (v * a - u * bb);
    float fGreen = 1.0f;
    float fBlue = (t * u - w * a) / fDenominator;
    const uint64_t nMax = std::max({nSum[0], nSum[1], nSum[2]});
    if (nMax == nSum[0]) {
        fBlue = fBlue / fRed;
        fGreen = 1.0f / fRed;
        fRed = 1.0f;
    }
    if (nMax == nSum[2]) {
        fRed = fRed / fBlue;
        fGreen = fGreen / fBlue;
        fBlue = 1.0f;
    }
    if (fDenominator == 0.0f || !std::isfinite(fRed) || !std::isfinite(fGreen) ||
        !std::isfinite(fBlue)) {
        return RET_PARAMERROR;  // degenerate means: the gains stay
    }
    m_fWhiteBalanceMatrix[0] = fRed;
    m_fWhiteBalanceMatrix[1] = fGreen;
    m_fWhiteBalanceMatrix[2] = fBlue;
    MakeTables();
    LogPrint(m_Camera.ColourLog(), LOGLEVEL_NORMAL,
             L"ZDQAPI::--RgbData8_MakeTable_AWB. [%0.2f, %0.2f, %0.2f]", fRed, fGreen, fBlue);
    return RET_SUCCESS;
}
