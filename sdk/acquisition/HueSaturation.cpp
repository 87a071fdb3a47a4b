#include <algorithm>
#include <cmath>

#include "ZDQApi.h"
#include "acquisition/ColourAdjustments.h"
#include "common/Saturate.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

uint8_t ToByte(float fChannel) {
    return SaturatedCast<uint8_t>(std::clamp(fChannel * 255.0f + 0.5f, 0.0f, 255.0f));
}

// The sextant function of the HSL to RGB conversion, h in sixths of a turn.
float Sextant(float m1, float m2, float h) {
    if (h < 0) {
        h += 6;
    } else if (h > 6) {
        h -= 6;
    }
    if (h < 1) {
        return m1 + (m2 - m1) * h;
    }
    if (h < 3) {
        return m2;
    }
    if (h < 4) {
        return m1 + (m2 - m1) * (4 - h);
    }
    return m1;
}

}  // namespace

void CHueSaturation::Convert(const int nSettings[kRanges][3], int b, int g, int r, uint8_t* pOut) {
    const float fR = static_cast<float>(r) / 255.0f;
    const float fG = static_cast<float>(g) / 255.0f;
    const float fB = static_cast<float>(b) / 255.0f;
    const float fMax = std::max({fR, fG, fB});
    const float fMin = std::min({fR, fG, fB});
    float L = (fMax + fMin) / 2;
    float H = 0;
    float S = 0;
    if (fMax != fMin) {
        const float d = fMax - fMin;
        S = L <= 0.5f ? d / (fMax + fMin) : d / (2 - fMax - fMin);
        if (fR == fMax) {
            H = (fG - fB) / d;
        } else if (fG == fMax) {
            H = (fB - fR) / d + 2;
        } else {
            H = (fR - fG) / d + 4;
        }
        H /= 6;
        if (H < 0) {
            H += 1;
        }
    }
    H = std::clamp(H, 0.0f, 1.0f);
    S = std::clamp(S, 0.0f, 1.0f);
    L = std::clamp(L, 0.0f, 1.0f);
    int s = 0;
    while (s < 6 && !(6 * H < static_cast<float>(s) + 0.5f)) {
        ++s;
    }
    if (s == 6) {
        s = 0;
    }
    const int* pMaster = nSettings[0];
    const int* pRange = nSettings[s + 1];
    float H2 = H + static_cast<float>(pMaster[0] + pRange[0]) / 360.0f;
    if (H2 < 0) {
        H2 += 1;
    } else if (H2 > 1) {
        H2 -= 1;
    }
    const float S2 = std::clamp(
        S * (1 + static_cast<float>(pMaster[1]) / 100.0f + static_cast<float>(pRange[1]) / 100.0f),
        0.0f, 1.0f);
    const float t = static_cast<float>(pMaster[2] + pRange[2]) / 200.0f;
    const float L2 = t < 0 ? (t + 1) * L : (1 - L) * t + L;
    if (S2 == 0) {
        pOut[0] = pOut[1] = pOut[2] = ToByte(L2);
        return;
    }
    const float m2 = L2 <= 0.5f ? L2 * (1 + S2) : L2 + S2 - L2 * S2;
    const float m1 = 2 * L2 - m2;
    pOut[2] = ToByte(Sextant(m1, m2, 6 * H2 + 2));
    pOut[1] = ToByte(Sextant(m1, m2, 6 * H2));
    pOut[0] = ToByte(Sextant(m1, m2, 6 * H2 - 2));
}

int CHueSaturation::Set(int nRange, int nHue, int nSaturation, int nLightness) {
    if (nRange < 0 || nRange >= kRanges) {
        return RET_PARAMERROR;
    }
    const int nValues[3] = {std::clamp(nHue, -180, 180), std::clamp(nSaturation, -100, 100),
                            std::clamp(nLightness, -100, 100)};
    Lock lock(m_Mutex);
    if (std::equal(nValues, nValues + 3, m_nSettings[nRange])) {
        return RET_SUCCESS;
    }
    std::copy_n(nValues, 3, m_nSettings[nRange]);
    m_bHueSaturationDirty = true;
    return RET_SUCCESS;
}

int CHueSaturation::Get(int nRange, int* pHue, int* pSaturation, int* pLightness) const {
    if (nRange < 0 || nRange >= kRanges) {
        return RET_PARAMERROR;
    }
    Lock lock(m_Mutex);
    if (pHue != nullptr) {
        *pHue = m_nSettings[nRange][0];
    }
    if (pSaturation != nullptr) {
        *pSaturation = m_nSettings[nRange][1];
    }
    if (pLightness != nullptr) {
        *pLightness = m_nSettings[nRange][2];
    }
    return RET_SUCCESS;
}

int CHueSaturation::SetEnable(bool bOn) {
    Lock lock(m_Mutex);
    if (bOn == m_bHueSaturation) {
        return RET_SUCCESS;
    }
    if (!bOn) {
        m_bHueSaturation = false;
        m_bHueSaturationDirty = false;
        return RET_SUCCESS;
    }
    if (!m_Cube.Allocate()) {
        return RET_MALLOCFAIL;
    }
    m_Cube.FillIdentity();
    m_bHueSaturation = true;
    m_bHueSaturationDirty = true;
    return RET_SUCCESS;
}

bool CHueSaturation::Enabled() const {
    Lock lock(m_Mutex);
    return m_bHueSaturation;
}

void CHueSaturation::Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                           CFrameWorkers* pWorkers) {
    Lock lock(m_Mutex);
    if (!m_bHueSaturation || pRgb == nullptr || (nBitCount != 24 && nBitCount != 32)) {
        return;
    }
    if (m_bHueSaturationDirty) {
        m_Cube.Fill(
            [](const void* pContext, int b, int g, int r, uint8_t* pOut) {
                Convert(static_cast<const int(*)[3]>(pContext), b, g, r, pOut);
            },
            m_nSettings);
        m_bHueSaturationDirty = false;
    }
    const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
    m_Cube.Apply(pRgb, nPixels, static_cast<size_t>(nBitCount / 8), pWorkers);
}
