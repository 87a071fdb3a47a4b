#include "acquisition/Laser3DProfile.h"

#include <algorithm>
#include <cstring>

FrameStamp ReadFrameStamp(const uint8_t* pFrame) {
    FrameStamp stamp{};
    stamp.nWaterMark = static_cast<uint32_t>(pFrame[6]) | static_cast<uint32_t>(pFrame[7]) << 8 |
                       static_cast<uint32_t>(pFrame[16]) << 16 |
                       static_cast<uint32_t>(pFrame[17]) << 24;
    for (int i = 7; i >= 0; --i) {
        stamp.ullTimeStamp = stamp.ullTimeStamp << 8 | pFrame[8 + i];
    }
    return stamp;
}

int LostSignals(uint32_t nWaterMark, uint32_t nPrevious, int nDivider) {
    if (nWaterMark <= nPrevious || nDivider <= 0) {
        return 0;
    }
    const uint32_t nSteps = (nWaterMark - nPrevious) / static_cast<uint32_t>(nDivider);
    return nSteps > 0 ? static_cast<int>(std::min<uint32_t>(nSteps - 1, 0x7FFFFFFF)) : 0;
}

uint8_t HeightToGrey(float fZ, float fMin, float fMax) {
    if (!(fZ > fMin)) {
        return 0;
    }
    if (fZ >= fMax) {
        return 255;
    }
    return static_cast<uint8_t>((fZ - fMin) * 255.0f / (fMax - fMin) + 0.5f);
}

void DrawProfileImage(uint8_t* pImage, const float* pZ, int nWidth, float fMin, float fMax) {
    std::memset(pImage, 0, static_cast<size_t>(nWidth) * kProfileImageRows);
    int nPreviousRow = -1;
    for (int c = 0; c < nWidth; ++c) {
        if (pZ[c] == kInvalidHeight) {
            nPreviousRow = -1;  // the line breaks
            continue;
        }
        const int nRow = HeightToGrey(pZ[c], fMin, fMax);
        const int nFrom = nPreviousRow < 0 ? nRow : std::min(nPreviousRow, nRow);
        const int nTo = nPreviousRow < 0 ? nRow : std::max(nPreviousRow, nRow);
        for (int r = nFrom; r <= nTo; ++r) {
            pImage[static_cast<size_t>(r) * nWidth + c] = 255;
        }
        nPreviousRow = nRow;
    }
}

void CRateMeter::Update(uint64_t ullTime, int nProfile, uint32_t nWaterMark,
                        float* pTransmissionRate, float* pTriggerRate) {
    if (!m_bBaseline) {
        // The first sample after a reset only starts the measurement.
        m_bBaseline = true;
        m_ullTime = ullTime;
        m_nProfile = nProfile;
        m_nWaterMark = nWaterMark;
        return;
    }
    if (ullTime <= m_ullTime || nProfile < m_nProfile || nWaterMark < m_nWaterMark) {
        return;
    }
    const double fSeconds = static_cast<double>(ullTime - m_ullTime) / 1000000.0;
    *pTransmissionRate = static_cast<float>((nProfile - m_nProfile) / fSeconds);
    *pTriggerRate = static_cast<float>((nWaterMark - m_nWaterMark) / fSeconds);
    m_ullTime = ullTime;
    m_nProfile = nProfile;
    m_nWaterMark = nWaterMark;
}
