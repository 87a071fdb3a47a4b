#include "acquisition/AutoExposure.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <limits>

#include "common/Log.h"
#include "common/Saturate.h"

namespace {

constexpr uint32_t kMaxLineCount = std::numeric_limits<uint32_t>::max();

// A wanted exposure as a line count, truncated toward zero: below 0 gives 0;
// a value beyond the unsigned 32-bit range, infinite or NaN (no line count
// at all) gives the largest count, which the upper bound then takes.
uint32_t LineCountOf(double dLines) {
    if (std::isnan(dLines) || dLines >= static_cast<double>(kMaxLineCount)) {
        return kMaxLineCount;
    }
    if (dLines <= 0.0) {
        return 0;
    }
    return static_cast<uint32_t>(dLines);
}

uint32_t LineCountOf(int64_t nLines) {
    return static_cast<uint32_t>(std::clamp<int64_t>(nLines, 0, kMaxLineCount));
}

// A bound for the sensor's own AE, whose registers hold 16 bits.
uint16_t SensorLineCountOf(uint32_t nLines) {
    return static_cast<uint16_t>(std::min<uint32_t>(nLines, std::numeric_limits<uint16_t>::max()));
}

}  // namespace

void CAutoExposure::Init(int32_t nCaptureWidth, int32_t nCaptureHeight) {
    bool bOnChip = false;
    m_Camera.AECGetEnable(&bOnChip);
    m_bOnChipAE = bOnChip;
    m_bAEStart = bOnChip;
    // A sensor whose own AE has a window keeps it; otherwise the region is
    // the capture frame, which such a sensor then measures too.
    FrameRegion window{};
    if (m_Camera.AECGetWindow(&window) != RET_SUCCESS) {
        window = FrameRegion{0, 0, nCaptureWidth, nCaptureHeight};
        m_Camera.AECSetWindow(window);
    }
    m_rcAERegion.Store(window);
    m_bAEShowRegion = false;
    m_fAEPeakAveRatio = 0.0f;
    m_nAECounter = 0;
    // A sensor that answers the query has an AE of its own, which runs on.
    m_nAEMaxCount = m_Camera.AECGetEnable(&bOnChip) == RET_SUCCESS ? -1 : kDefaultMaxCount;
    m_bOnChipAE = bOnChip;
    int nSensorTarget = kDefaultTarget;
    m_nAETarget =
        m_Camera.AECGetTarget(&nSensorTarget) == RET_SUCCESS ? nSensorTarget : kDefaultTarget;

    uint16_t wMinLines = 1;
    uint16_t wMaxLines = 1;
    if (m_Camera.AECGetRange(&wMinLines, &wMaxLines) == RET_NOTSUPPORT) {
        // From 1 line up to 1000 ms, or to the sensor's longest exposure when
        // that is shorter: a step never asks for an exposure the sensor
        // cannot take, so a run that needs more ends at the bound.
        float fMaxMs = kDefaultExposureTimeMaxMs;
        float fSensorMinMs = 0.0f;
        float fSensorMaxMs = 0.0f;
        if (m_Camera.AEGetExposureTimeRange(&fSensorMinMs, &fSensorMaxMs) == RET_SUCCESS) {
            fMaxMs = std::fmin(fMaxMs, fSensorMaxMs);
        }
        m_nAEExposureLineMin = 1;
        m_fAEExposureTimeMin = m_Camera.AEExposureLinesToTime(1);
        m_fAEExposureTimeMax = fMaxMs;
        m_nAEExposureLineMax = LineCountOf(m_Camera.AEExposureTimeToLines(fMaxMs));
    } else {
        m_nAEExposureLineMin = wMinLines;
        m_nAEExposureLineMax = wMaxLines;
        m_fAEExposureTimeMin = m_Camera.AEExposureLinesToTime(wMinLines);
        m_fAEExposureTimeMax = m_Camera.AEExposureLinesToTime(wMaxLines);
    }
    m_pfAECallback = nullptr;
    m_lpAECallbackContext = nullptr;
    m_pfAECallbackEx = nullptr;
    m_lpAECallbackExContext = nullptr;
}

void CAutoExposure::RawData8_Do_3A_AE(const uint8_t* pData, int32_t nWidth, int32_t nHeight,
                                      bool bRowsBottomUp) {
    if (!m_bAEStart || pData == nullptr || nWidth <= 0 || nHeight <= 0) {
        return;
    }
    // After each exposure change the next two frames are skipped while the
    // new exposure reaches the sensor.
    if (m_nAECounter % 3 != 0) {
        ++m_nAECounter;
        return;
    }
    int nStatus = kChanged;
    if (!m_bOnChipAE) {
        Log(L"ZDQAPI::++++RawData8_Do_3A_AE++++");
        nStatus = DoAEEx(pData, nWidth, nHeight, bRowsBottomUp);
        Log(L"ZDQAPI::----RawData8_Do_3A_AE----");
    }
    const AECallback pfCallback = m_pfAECallback;
    if (pfCallback != nullptr && nStatus != kChanged) {
        const int nExposureMs = m_Camera.AEGetExposureMs();
        Log(L"ZDQAPI::RawData8_Do_3A_AE::Callback(%d ms)++", nExposureMs);
        pfCallback(nStatus == kSuccess, nExposureMs, m_lpAECallbackContext);
        Log(L"ZDQAPI::RawData8_Do_3A_AE::Callback--");
    }
    const AECallbackEx pfCallbackEx = m_pfAECallbackEx;
    if (pfCallbackEx != nullptr) {
        const int nExposureMs = m_Camera.AEGetExposureMs();
        Log(L"ZDQAPI::RawData8_Do_3A_AE::CallbackEx(%d ms)++", nExposureMs);
        pfCallbackEx(nStatus, nExposureMs, m_lpAECallbackExContext);
        Log(L"ZDQAPI::RawData8_Do_3A_AE::CallbackEx--");
    }
}

int CAutoExposure::DoAEEx(const uint8_t* pData, int32_t nWidth, int32_t nHeight,
                          bool bRowsBottomUp) {
    Log(L"ZDQAPI::++++DoAEEx( AECounter = %d )++++", m_nAECounter.load());
    if (m_nAEMaxCount >= 0 && m_nAECounter / 3 >= m_nAEMaxCount) {
        m_bAEStart = false;
        Log(L"ZDQAPI::----DoAEEx( ZDQ_AE_ONCE_FAIL_MAX_COUNT and Stop Auto )");
        return kMaxCountReached;
    }
    UpdateAERealRegion(nWidth, nHeight, bRowsBottomUp);
    const float fMean = RegionMean(pData, nWidth);
    Log(L"ZDQAPI::DoAEEx::fAEMean=%.2f", fMean);

    const int nTarget = m_nAETarget;
    if (std::fabs(static_cast<float>(nTarget) - fMean) <= kTargetTolerance) {
        Log(L"ZDQAPI::DoAEEx::Success In Range %d", kTargetTolerance);
        if (ContinuousRun()) {
            ResetSteps();  // the next frame is measured again
            return kSuccessContinuous;
        }
        m_bAEStart = false;
        return kSuccess;
    }
    // Out of range, so a black region (mean 0) has a target beyond 10 and
    // wants an unbounded exposure.
    const float fRatio = fMean > 0.0f ? static_cast<float>(nTarget) / fMean
                                      : std::copysign(std::numeric_limits<float>::infinity(),
                                                      static_cast<float>(nTarget));
    Log(L"ZDQAPI::DoAEEx::fAERatio=%0.4f", fRatio);
    const float fLastRatio = m_fAEExLastRatio;
    if (fLastRatio != 0.0f &&
        ((fRatio > 1.0f && fLastRatio < 1.0f) || (fRatio < 1.0f && fLastRatio > 1.0f))) {
        ++m_nAEExShakeNum;
        Log(L"ZDQAPI::DoAEEx::m_nAEExShakeNum = %d.(Shaking)", m_nAEExShakeNum.load());
    }
    m_fAEExLastRatio = fRatio;

    const int nCurrentLines = m_Camera.AEGetExposureLines();
    Log(L"ZDQAPI::DoAEEx::nExposureLineCur = %d", nCurrentLines);
    uint32_t nLines = 0;
    if (m_nAEExShakeNum < 1) {
        Log(L"ZDQAPI::DoAEEx::Ratio Adjustment.( m_nAEExShakeNum = %d )", m_nAEExShakeNum.load());
        nLines = LineCountOf(static_cast<double>(static_cast<float>(nCurrentLines) * fRatio));
    } else {
        Log(L"ZDQAPI::DoAEEx::Step Adjustment. ( m_nAEExShakeNum = %d )", m_nAEExShakeNum.load());
        const int nDirection = StepDirection(fRatio);
        if (nDirection == 0) {
            if (ContinuousRun()) {
                m_nAEExWaveNum = 0;
                m_nAEExLastDirection = 0;
                return kWavingContinuous;
            }
            m_bAEStart = false;
            return kWaving;
        }
        nLines = LineCountOf(static_cast<int64_t>(nCurrentLines) + nDirection);
    }

    Log(L"ZDQAPI::DoAEEx::nExposureLineAft=%u", nLines);
    const uint32_t nLower = m_nAEExposureLineMin;
    const uint32_t nUpper = m_nAEExposureLineMax;
    const uint32_t nBounded = std::min(std::max(nLines, nLower), nUpper);
    if (nBounded != nLines) {
        Log(L"ZDQAPI::DoAEEx::OverRange::nExposureLineAft=%u[%u, %u]", nBounded, nLower, nUpper);
        if (static_cast<int64_t>(nBounded) == nCurrentLines) {
            if (ContinuousRun()) {
                return kOverRangeContinuous;
            }
            m_bAEStart = false;
            return kOverRange;
        }
    }
    Log(L"ZDQAPI::DoAEEx::Setting to nExposureLineAft=%u", nBounded);
    m_Camera.AESetExposureLines(SaturatedCast<int>(nBounded));
    ++m_nAECounter;
    return kChanged;
}

int CAutoExposure::StepDirection(float fRatio) {
    const int nDirection = fRatio > 1.0f ? 1 : -1;
    const int nLastDirection = m_nAEExLastDirection;
    if (nLastDirection == -nDirection) {
        ++m_nAEExWaveNum;
        m_nAEExSameDirectionNum = 0;
        Log(L"ZDQAPI::DoAEEx::m_nAEExWaveNum = %d.(Waving)", m_nAEExWaveNum.load());
    } else if (nLastDirection == nDirection) {
        ++m_nAEExSameDirectionNum;
    }
    m_nAEExLastDirection = nDirection;
    if (m_nAEExSameDirectionNum > 5) {
        // Many steps one way: the next step scales by the ratio again.
        m_nAEExShakeNum = 0;
        m_fAEExLastRatio = 0.0f;
        m_nAEExWaveNum = 0;
        m_nAEExLastDirection = 0;
        m_nAEExSameDirectionNum = 0;
    }
    return m_nAEExWaveNum > 2 ? 0 : nDirection;
}

void CAutoExposure::UpdateAERealRegion(int32_t nWidth, int32_t nHeight, bool bRowsBottomUp) {
    const FrameRegion real =
        ClampRegionToFrame(m_rcAERegion.Load(), nWidth, nHeight, kRegionMargin, bRowsBottomUp);
    m_rcAERealRegion.Store(real);
    Log(L"ZDQAPI::UpdateAERealRegion(%d, %d, %d, %d).", real.x, real.y, real.width, real.height);
}

float CAutoExposure::RegionMean(const uint8_t* pData, int32_t nWidth) const {
    const FrameRegion region = m_rcAERealRegion.Load();
    uint64_t nTotal = 0;
    uint64_t nSaturated = 0;
    for (int32_t nRow = 0; nRow < region.height; ++nRow) {
        const uint8_t* pPixel = pData +
                                static_cast<size_t>(region.y + nRow) * static_cast<size_t>(nWidth) +
                                static_cast<size_t>(region.x);
        // A row's sums fit 32 bits for rows of up to 16 million pixels.
        uint32_t nRowTotal = 0;
        uint32_t nRowSaturated = 0;
        for (int32_t nColumn = 0; nColumn < region.width; ++nColumn) {
            nRowTotal += pPixel[nColumn];
            nRowSaturated += pPixel[nColumn] == 255 ? 1 : 0;
        }
        nTotal += nRowTotal;
        nSaturated += nRowSaturated;
    }
    const uint64_t nPeak = nSaturated * 255;
    // The clamped region of a frame that is not empty holds a pixel at least.
    const uint64_t nPixels =
        static_cast<uint64_t>(region.width) * static_cast<uint64_t>(region.height);
    return (static_cast<float>(nPeak) * m_fAEPeakAveRatio + static_cast<float>(nTotal)) /
           static_cast<float>(nPixels);
}

void CAutoExposure::SetPeakAveRatio(float fRatio) {
    m_fAEPeakAveRatio = std::isnan(fRatio) ? 0.0f : std::clamp(fRatio, 0.0f, 1.0f);
}

void CAutoExposure::SetExposureTimeRange(float fMinMs, float fMaxMs) {
    float fSensorMin = 0.0f;
    float fSensorMax = 0.0f;
    m_Camera.AEGetExposureTimeRange(&fSensorMin, &fSensorMax);
    // fmax and fmin take the sensor's bound for a NaN request.
    const float fMin = std::fmax(fMinMs, fSensorMin);
    const float fMax = std::fmin(fMaxMs, fSensorMax);
    m_fAEExposureTimeMin = fMin;
    m_fAEExposureTimeMax = fMax;
    const uint32_t nMinLines = LineCountOf(m_Camera.AEExposureTimeToLines(fMin));
    const uint32_t nMaxLines = LineCountOf(m_Camera.AEExposureTimeToLines(fMax));
    m_nAEExposureLineMin = nMinLines;
    m_nAEExposureLineMax = nMaxLines;
    // The sensor's own AE follows the bounds where it can; software AE does
    // not depend on it.
    m_Camera.AECSetRange(SensorLineCountOf(nMinLines), SensorLineCountOf(nMaxLines));
}

void CAutoExposure::SetCallback(AECallback pfCallback, void* lpContext) {
    m_pfAECallback = pfCallback;
    m_lpAECallbackContext = lpContext;
}

void CAutoExposure::SetCallbackEx(AECallbackEx pfCallback, void* lpContext) {
    m_pfAECallbackEx = pfCallback;
    m_lpAECallbackExContext = lpContext;
}

void CAutoExposure::SetMaxCount(int nMaxCount) {
    bool bOnChip = false;
    const int nRet = m_Camera.AECGetEnable(&bOnChip);
    m_bOnChipAE = bOnChip;
    m_nAEMaxCount = nRet == RET_SUCCESS ? -1 : nMaxCount;
}

int CAutoExposure::SetTarget(int nTarget) {
    // A sensor with an AE of its own takes the target; one whose AE has no
    // target (or refused it) leaves the target unchanged.
    if (m_Camera.AECSetTarget(nTarget) != RET_SUCCESS) {
        bool bOnChip = false;
        if (m_Camera.AECGetEnable(&bOnChip) == RET_SUCCESS) {
            return RET_NOTSUPPORT;
        }
    }
    m_nAETarget = nTarget;
    return RET_SUCCESS;
}

void CAutoExposure::SetRegion(const FrameRegion& region) {
    m_rcAERegion.Store(region);
    m_Camera.AECSetWindow(region);
}

FrameRegion CAutoExposure::ReportedRegion() const {
    FrameRegion window{};
    return m_Camera.AECGetWindow(&window) == RET_SUCCESS ? window : m_rcAERegion.Load();
}

void CAutoExposure::Start(bool bStart, int nMaxCount, int nTarget) {
    Log(L"ZDQAPI::++++AEStart(%d, %d, %d)++++.", bStart ? 1 : 0, nMaxCount, nTarget);
    // Every change is measured on the third frame after it.
    m_nAEMaxCount = SaturatedCast<int>(3 * static_cast<int64_t>(nMaxCount));
    m_nAETarget = nTarget;
    ResetSteps();
    StartOrStop(bStart);
    Log(L"ZDQAPI::----AEStart----.");
}

void CAutoExposure::StartEx(bool bStart) {
    Log(L"ZDQAPI::++++AEStartEx(%d)++++.", bStart ? 1 : 0);
    ResetSteps();
    StartOrStop(bStart);
    Log(L"ZDQAPI::----AEStartEx----.");
}

int CAutoExposure::AECSetEnable(bool bEnable) {
    const int nRet = m_Camera.AECSetEnable(bEnable);
    // The sensor's AE is in charge only when it accepted to run; when it
    // accepted to stop, the software AE takes the steps again.
    m_bOnChipAE = nRet == RET_SUCCESS && bEnable;
    return nRet;
}

void CAutoExposure::ResetSteps() {
    m_nAEExShakeNum = 0;
    m_fAEExLastRatio = 0.0f;
    m_nAEExWaveNum = 0;
    m_nAEExLastDirection = 0;
    m_nAEExSameDirectionNum = 0;
    m_nAECounter = 0;
}

void CAutoExposure::StartOrStop(bool bStart) {
    if (bStart) {
        AECSetEnable(true);
        m_bAEStart = true;
    } else {
        m_bAEStart = false;
        AECSetEnable(false);
    }
}

void CAutoExposure::Log(const wchar_t* pszFormat, ...) const {
    va_list args;
    va_start(args, pszFormat);
    VLogPrint(m_Camera.AELog(), LOGLEVEL_NORMAL, pszFormat, args);
    va_end(args);
}
