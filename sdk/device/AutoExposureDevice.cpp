// The device's side of automatic exposure and focus measure: the camera as
// AE reaches it, the hooks with the frame's row order, the shown regions, and
// their state at the opening.
#include "ZDQApi.h"
#include "acquisition/RegionOverlay.h"
#include "device/Device.h"

void CDevice::InitAutoExposureAndFocus() {
    // The default regions cover the frame of the capture field of view.
    const FieldOfView& capture = m_Fov[kCaptureFov];
    m_AutoExposure.Init(capture.nWidth, capture.nHeight);
    m_FocusMeasure.Init(capture.nWidth, capture.nHeight);
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
    if (m_WhiteBalance.RegionShown()) {
        const FrameRegion region = m_WhiteBalance.Region();
        DarkenRegion(pFrame, nWidth, nHeight, nBitCount, region.x, region.y, region.width,
                     region.height);
    }
}

bool CDevice::RawRowsBottomUp() const {
    if (m_nOutputMode == kOutputRaw) {
        return true;
    }
    const bool bFlippedMosaic = (m_nBayerModeEffective >= 4 && m_nBayerModeEffective <= 7) ||
                                (m_nBayerModeEffective >= 12 && m_nBayerModeEffective <= 15);
    return m_nOutputMode == kOutputColour && bFlippedMosaic;
}

int CDevice::AEGetExposureLines() {
    int nLines = 0;
    GetParam(ZDQ_EXPOSURE_LINES, &nLines);
    return nLines;
}

void CDevice::AESetExposureLines(int nLines) {
    SetParam(ZDQ_EXPOSURE_LINES, nLines);
}

int CDevice::AEGetExposureMs() {
    int nMs = 0;
    GetParam(ZDQ_EXPOSURE, &nMs);
    return nMs;
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

int CDevice::AECGetTarget(int* pTarget) {
    return SensorAECGetTarget(pTarget);
}

int CDevice::AECSetWindow(const FrameRegion& window) {
    return SensorAECSetWindow(window.x, window.y, window.width, window.height);
}

int CDevice::AECGetWindow(FrameRegion* pWindow) {
    FrameRegion window{};
    const int nRet = SensorAECGetWindow(&window.x, &window.y, &window.width, &window.height);
    if (nRet == RET_SUCCESS) {
        *pWindow = window;
    }
    return nRet;
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
