// The device's side of automatic exposure and focus measure: the camera as
// AE reaches it, the hooks with the frame's row order, the shown regions, and
// their state at the opening.
#include <algorithm>
#include <cmath>
#include <limits>

#include "acquisition/RegionOverlay.h"
#include "device/Device.h"

namespace {

// An exposure time in whole ms, rounded half up; NaN gives 0 and times
// beyond the int range saturate.
int RoundedMs(float fMs) {
    const double dMs = static_cast<double>(fMs) + 0.5;
    if (std::isnan(dMs)) {
        return 0;
    }
    return static_cast<int>(std::clamp(dMs, static_cast<double>(std::numeric_limits<int>::min()),
                                       static_cast<double>(std::numeric_limits<int>::max())));
}

}  // namespace

void CDevice::InitAutoExposureAndFocus() {
    // The default regions cover the capture frame, which is the sensor's
    // full frame.
    const int32_t nCaptureWidth = m_Sensor.roi.nMaxWidth;
    const int32_t nCaptureHeight = m_Sensor.roi.nMaxHeight;
    m_AutoExposure.Init(nCaptureWidth, nCaptureHeight);
    m_FocusMeasure.Init(nCaptureWidth, nCaptureHeight);
}

void CDevice::RawData8_Do_3A_AE(const uint8_t* pData, int nWidth, int nHeight) {
    m_AutoExposure.RawData8_Do_3A_AE(pData, nWidth, nHeight, RawRowsBottomUp());
}

void CDevice::RawData8_Do_3A_AF(const uint8_t* pData, int nWidth, int nHeight) {
    m_FocusMeasure.RawData8_Do_3A_AF(pData, nWidth, nHeight, RawRowsBottomUp());
}

void CDevice::DarkenShownRegions(uint8_t* pFrame, int nWidth, int nHeight, int nBitCount) {
    if (m_AutoExposure.RegionShown()) {
        const FrameRegion region = m_AutoExposure.Region();
        DarkenRegion(pFrame, nWidth, nHeight, nBitCount, region.x, region.y, region.width,
                     region.height);
    }
    if (m_FocusMeasure.RegionShown()) {
        const FrameRegion region = m_FocusMeasure.Region();
        DarkenRegion(pFrame, nWidth, nHeight, nBitCount, region.x, region.y, region.width,
                     region.height);
    }
}

bool CDevice::RawRowsBottomUp() const {
    if (m_nOutputMode == kOutputRaw) {
        return true;
    }
    const bool bFlippedMosaic =
        (m_nBayerMode >= 4 && m_nBayerMode <= 7) || (m_nBayerMode >= 12 && m_nBayerMode <= 15);
    return m_nOutputMode == kOutputColour && bFlippedMosaic;
}

int CDevice::AEGetExposureLines() {
    int nLines = 0;
    SensorGetExposureLines(&nLines);
    return nLines;
}

void CDevice::AESetExposureLines(int nLines) {
    SensorSetExposureLines(nLines);
}

int CDevice::AEGetExposureMs() {
    float fMs = 0.0f;
    SensorGetExposureTime(&fMs);
    return RoundedMs(fMs);
}

int CDevice::AECSetEnable(bool bEnable) {
    return SensorAECSetEnable(bEnable);
}

int CDevice::AECGetEnable(bool* pbEnable) {
    return SensorAECGetEnable(pbEnable);
}

int CDevice::AECSetRange(uint16_t wMinLines, uint16_t wMaxLines) {
    return SensorAECSetRange(wMinLines, wMaxLines);
}

int CDevice::AECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines) {
    return SensorAECGetRange(pMinLines, pMaxLines);
}

int CDevice::AECSetTarget(int nTarget) {
    return SensorAECSetTarget(nTarget);
}

int CDevice::AEGetExposureTimeRange(float* pMinMs, float* pMaxMs) {
    return SensorGetExposureTimeRange(pMinMs, pMaxMs);
}

float CDevice::AEExposureLinesToTime(int nLines) {
    return SensorExposureLinesToTime(nLines);
}

int64_t CDevice::AEExposureTimeToLines(float fMs) {
    return SensorExposureTimeToLines(fMs);
}

CLog* CDevice::AELog() {
    return m_pLog;
}
