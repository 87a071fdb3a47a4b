// The white balance's gain loop: the sensor's colour gains stepped towards
// per-channel targets of a region's mean colour, and the region itself.
#include <algorithm>
#include <cmath>

#include "acquisition/WhiteBalance.h"
#include "common/Log.h"
#include "common/Saturate.h"

namespace {

using Lock = std::lock_guard<std::recursive_mutex>;

// One gain step toward a target: truncated toward zero, at most one step.
int GainStep(float fStep) {
    return std::clamp(SaturatedCast<int>(fStep), -1, 1);
}

}  // namespace

void CWhiteBalance::SetRegion(const FrameRegion& region) {
    Lock lock(m_Mutex);
    m_rcAWBRegion = region;
    LogPrint(m_Camera.ColourLog(), LOGLEVEL_NORMAL, L"ZDQAPI::--AWBSetRegion(%d, %d, %d, %d).",
             region.x, region.y, region.width, region.height);
}

FrameRegion CWhiteBalance::Region() const {
    Lock lock(m_Mutex);
    return m_rcAWBRegion;
}

void CWhiteBalance::ShowRegion(bool bShow) {
    Lock lock(m_Mutex);
    m_bAWBShowRegion = bShow;
}

bool CWhiteBalance::RegionShown() const {
    Lock lock(m_Mutex);
    return m_bAWBShowRegion;
}

void CWhiteBalance::SetGainLoopCallback(AWBCallback pfCallback, void* pContext) {
    Lock lock(m_Mutex);
    m_pfAWBCallback = pfCallback;
    m_lpAWBCallbackContext = pContext;
    LogPrint(m_Camera.ColourLog(), LOGLEVEL_NORMAL, L"ZDQAPI::--AWBSetCallback(0x%04x, 0x%04x).",
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(pfCallback)),
             static_cast<unsigned>(reinterpret_cast<uintptr_t>(pContext)));
}

void CWhiteBalance::StartGainLoop(bool bStart, int nMaxCount, int nRed, int nGreen, int nBlue) {
    Lock lock(m_Mutex);
    CLog* pLog = m_Camera.ColourLog();
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++AWBStart(%d, %d, %d, %d, %d)++++.",
             bStart ? 1 : 0, nMaxCount, nRed, nGreen, nBlue);
    m_nAWBCounter = 0;
    m_nAWBMaxCount = nMaxCount;
    m_nAWBTarget[0] = nRed;
    m_nAWBTarget[1] = nGreen;
    m_nAWBTarget[2] = nBlue;
    m_bAWBStart = bStart;
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::----AWBStart----.");
}

bool CWhiteBalance::GainLoopRunning() const {
    Lock lock(m_Mutex);
    return m_bAWBStart;
}

FrameRegion CWhiteBalance::RealRegion() const {
    Lock lock(m_Mutex);
    return m_bRealRegionSet ? m_rcAWBRealRegion : m_rcAWBRegion;
}

bool CWhiteBalance::UpdateRealRegion(int nWidth, int nHeight) {
    if (nWidth < kRegionMargin || nHeight < kRegionMargin) {
        return false;
    }
    m_rcAWBRealRegion = ClampRegionToFrame(m_rcAWBRegion, nWidth, nHeight, kRegionMargin, true);
    m_bRealRegionSet = true;
    const FrameRegion& r = m_rcAWBRealRegion;
    LogPrint(m_Camera.ColourLog(), LOGLEVEL_NORMAL,
             L"ZDQAPI::--UpdateAWBRealRegion(%d, %d, %d, %d).", r.x, r.y, r.width, r.height);
    return true;
}

void CWhiteBalance::GainLoopStep(const uint8_t* pRgb, int nWidth, int nHeight, int nBitCount) {
    Lock lock(m_Mutex);
    if (!m_bAWBStart || pRgb == nullptr || (nBitCount != 24 && nBitCount != 32)) {
        return;
    }
    bool bSuccess = false;
    if (m_nAWBCounter >= m_nAWBMaxCount) {
        m_bAWBStart = false;
    } else {
        if (!UpdateRealRegion(nWidth, nHeight)) {
            return;  // too small a frame to measure
        }
        const FrameRegion& r = m_rcAWBRealRegion;
        const size_t nStep = static_cast<size_t>(nBitCount / 8);
        uint64_t nSum[3] = {};  // red, green, blue
        uint64_t n = 0;
        for (int y = r.y; y < r.y + r.height; ++y) {
            const uint8_t* p = pRgb + (static_cast<size_t>(y) * nWidth + r.x) * nStep;
            for (int x = 0; x < r.width; ++x, p += nStep) {
                if (p[0] == 255 || p[1] == 255 || p[2] == 255) {
                    continue;
                }
                nSum[0] += p[2];
                nSum[1] += p[1];
                nSum[2] += p[0];
                ++n;
            }
        }
        int nDelta[3] = {-1, -1, -1};
        if (n > 0) {
            for (int c = 0; c < 3; ++c) {
                const float fMean = static_cast<float>(nSum[c]) / static_cast<float>(n) + 0.5f;
                const float fDiff = static_cast<float>(m_nAWBTarget[c]) - fMean;
                nDelta[c] = GainStep(c == 1 ? fDiff + 0.5f : fDiff * 0.5f + 0.5f);
            }
        }
        ++m_nAWBCounter;
        if (nDelta[0] == 0 && nDelta[1] == 0 && nDelta[2] == 0) {
            m_bAWBStart = false;
            bSuccess = true;
        } else {
            for (int c = 0; c < 3; ++c) {
                int nGain = 0;
                m_Camera.GetColourGain(c, &nGain);
                m_Camera.SetColourGain(c, nGain + nDelta[c]);
            }
        }
    }
    if (m_pfAWBCallback != nullptr) {
        int nGain[3] = {};
        for (int c = 0; c < 3; ++c) {
            m_Camera.GetColourGain(c, &nGain[c]);
        }
        m_pfAWBCallback(bSuccess, nGain[0], nGain[1], nGain[2], m_lpAWBCallbackContext);
    }
}
