#include <algorithm>

#include "ZDQApi.h"
#include "acquisition/ColourAdjustments.h"
#include "common/Saturate.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

uint8_t ToByte(float fChannel) {
    return SaturatedCast<uint8_t>(std::clamp(fChannel * 255.0f + 0.5f, 0.0f, 255.0f));
}

// One channel of the HSL to RGB conversion, x in turns.
float Channel(float m1, float m2, float x) {
    if (x < 0) {
        x += 1;
    } else if (x > 1) {
        x -= 1;
    }
    if (6 * x < 1) {
        return m1 + (m2 - m1) * 6 * x;
    }
    if (2 * x < 1) {
        return m2;
    }
    if (3 * x < 2) {
        return m1 + (m2 - m1) * (2.0f / 3.0f - x) * 6;
    }
    return m1;
}

}  // namespace

void CProcessSaturation::Convert(float fFactor, int b, int g, int r, uint8_t* pOut) {
    const float fR = static_cast<float>(r) / 255.0f;
    const float fG = static_cast<float>(g) / 255.0f;
    const float fB = static_cast<float>(b) / 255.0f;
    const float fMax = std::max({fR, fG, fB});
    const float fMin = std::min({fR, fG, fB});
    const float d = fMax - fMin;
    float H = 0;
    if (d != 0) {
        if (fR == fMax) {
            H = 60 * (fG - fB) / d + (fG < fB ? 360.0f : 0.0f);
        } else if (fG == fMax) {
            H = 60 * (fB - fR) / d + 120;
        } else {
            H = 60 * (fR - fG) / d + 240;
        }
    }
    float L = (fMax + fMin) / 2;
    float S = 0;
    if (L != 0 && fMax != fMin) {
        S = L <= 0.5f ? d / (fMax + fMin) : d / (2 - (fMax + fMin));
    }
    H = std::clamp(H, 0.0f, 360.0f);
    S = std::clamp(S, 0.0f, 1.0f);
    L = std::clamp(L, 0.0f, 1.0f);
    S *= fFactor;
    if (S == 0) {
        pOut[0] = pOut[1] = pOut[2] = SaturatedCast<uint8_t>(L * 255.0f);
        return;
    }
    const float m2 = L < 0.5f ? (S + 1) * L : L + S - L * S;
    const float m1 = 2 * L - m2;
    const float h = H / 360.0f;
    pOut[2] = ToByte(Channel(m1, m2, h + 1.0f / 3.0f));
    pOut[1] = ToByte(Channel(m1, m2, h));
    pOut[0] = ToByte(Channel(m1, m2, h - 1.0f / 3.0f));
}

int CProcessSaturation::Set(int nValue) {
    Lock lock(m_Mutex);
    if (nValue == m_nProcessSaturation) {
        return RET_SUCCESS;
    }
    const int nClamped = std::clamp(nValue, kMin, kMax);
    if (nClamped != 0 && !m_Cube.Allocate()) {
        m_nProcessSaturation = 0;
        return RET_MALLOCFAIL;
    }
    m_nProcessSaturation = nClamped;
    m_fSaturationFactor = static_cast<float>(nClamped + 128) / 128.0f;
    m_bSaturationDirty = true;
    return RET_SUCCESS;
}

int CProcessSaturation::Value() const {
    Lock lock(m_Mutex);
    return m_nProcessSaturation;
}

void CProcessSaturation::Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
                               CFrameWorkers* pWorkers) {
    Lock lock(m_Mutex);
    if (m_nProcessSaturation == 0 || pRgb == nullptr || (nBitCount != 24 && nBitCount != 32)) {
        return;
    }
    if (m_bSaturationDirty) {
        m_Cube.Fill(
            [](const void* pContext, int b, int g, int r, uint8_t* pOut) {
                Convert(*static_cast<const float*>(pContext), b, g, r, pOut);
            },
            &m_fSaturationFactor);
        m_bSaturationDirty = false;
    }
    const size_t nPixels = static_cast<size_t>(std::max(nWidth, 0)) * std::max(nHeight, 0);
    m_Cube.Apply(pRgb, nPixels, static_cast<size_t>(nBitCount / 8), pWorkers);
}
