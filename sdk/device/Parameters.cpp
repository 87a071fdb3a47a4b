// Camera parameters by identifier: each identifier is routed to a sensor
// operation, a field of view, an FPGA register, a trigger operation or a
// software setting of the pipeline.
#include "device/Parameters.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "ZDQApi.h"
#include "capability/DeviceType.h"
#include "common/Saturate.h"
#include "device/Device.h"

namespace {

const wchar_t* const kParamNames[37] = {
    L"ZDQ_EXPOSURE",
    L"ZDQ_RED",
    L"ZDQ_GREEN",
    L"ZDQ_BLUE",
    L"ZDQ_GAMMA",
    L"ZDQ_PREVIEW_COLUMNSTART",
    L"ZDQ_PREVIEW_ROWSTART",
    L"ZDQ_CAPTURE_COLUMNSTART",
    L"ZDQ_CAPTURE_ROWSTART",
    L"ZDQ_HORIZONTALBLANK",
    L"ZDQ_VERTICALBLANK",
    L"ZDQ_FLIP",
    L"ZDQ_BIN",
    L"ZDQ_MIRROR",
    L"ZDQ_CONTRAST",
    L"ZDQ_BRIGHTNESS",
    L"ZDQ_VGAGAIN",
    L"ZDQ_CLAMPLEVEL",
    L"ZDQ_CDSGAIN",
    L"ZDQ_RED_SHIFT",
    L"ZDQ_GREEN_SHIFT",
    L"ZDQ_BLUE_SHIFT",
    L"ZDQ_COMPANDING",
    L"ZDQ_EXPOSURE_LINES",
    L"ZDQ_SATURATION",
    L"ZDQ_TRIGGERDELAY",
    L"ZDQ_STROBEDELAY",
    L"ZDQ_TRIGGER_MODE",
    L"ZDQ_TRIGGER_METHOD",
    L"ZDQ_BLACKLEVEL",
    L"ZDQ_BLACKLEVEL_THRESHOLD_AUTO",
    L"ZDQ_BLACKLEVEL_THRESHOLD_LO",
    L"Unknow",
    L"Unknow",
    L"Unknow",
    L"Unknow",
    L"Unknow",
};

constexpr int kMinColorShift = -255, kMaxColorShift = 255;

using FrontEnd = CSensorUnit::FrontEnd;

// The front-end gain of a parameter 16 .. 18.
FrontEnd FrontEndOf(int nParam) {
    return nParam == ZDQ_VGAGAIN      ? FrontEnd::VgaGain
           : nParam == ZDQ_CLAMPLEVEL ? FrontEnd::ClampLevel
                                      : FrontEnd::CdsGain;
}

void SetRange(int* pMin, int* pMax, int nMin, int nMax) {
    *pMin = nMin;
    *pMax = nMax;
}
}  // namespace

const wchar_t* ParamName(int nParam) {
    return nParam >= 0 && nParam < 37 ? kParamNames[nParam] : L"Unknow";
}

int CDevice::GetParamRange(int nParam, int* pMin, int* pMax) {
    if (pMin == nullptr || pMax == nullptr) {
        return RET_PARAMERROR;
    }
    *pMin = 0;
    *pMax = 0;
    const RoiLimits& roi = m_Sensor.roi;
    switch (nParam) {
        case ZDQ_EXPOSURE: {
            float fMin = 0.0f, fMax = 0.0f;
            const int nRet = SensorGetExposureTimeRange(&fMin, &fMax);
            SetRange(pMin, pMax, SaturatedCast<int>(fMin), SaturatedCast<int>(fMax));
            return nRet;
        }
        case ZDQ_RED:
            return SensorGetGainRange(pMin, pMax);
        case ZDQ_GREEN:
        case ZDQ_BLUE: {
            // A CCD's green and blue are its clamp level and CDS gain.
            const int nRet = SensorGetFrontEndRange(
                nParam == ZDQ_GREEN ? FrontEnd::ClampLevel : FrontEnd::CdsGain, pMin, pMax);
            return nRet != RET_NOTSUPPORT ? nRet : SensorGetGainRange(pMin, pMax);
        }
        case ZDQ_VGAGAIN:
        case ZDQ_CLAMPLEVEL:
        case ZDQ_CDSGAIN:
            return SensorGetFrontEndRange(FrontEndOf(nParam), pMin, pMax);
        case ZDQ_COMPANDING: {
            int nOn = 0;
            const int nRet = SensorGetCompanding(&nOn);
            if (nRet == RET_SUCCESS) {
                SetRange(pMin, pMax, 0, 1);
            }
            return nRet;
        }
        case ZDQ_GAMMA:
            SetRange(pMin, pMax, CProcessTables::kMinGamma, CProcessTables::kMaxGamma);
            return RET_SUCCESS;
        case ZDQ_PREVIEW_COLUMNSTART:
            SetRange(pMin, pMax, 0, roi.nMaxWidth - Fov(kPreviewFov).nColSize);
            return RET_SUCCESS;
        case ZDQ_PREVIEW_ROWSTART:
            SetRange(pMin, pMax, 0, roi.nMaxHeight - Fov(kPreviewFov).nRowSize);
            return RET_SUCCESS;
        case ZDQ_CAPTURE_COLUMNSTART:
            SetRange(pMin, pMax, 0, roi.nMaxWidth - Fov(kCaptureFov).nColSize);
            return RET_SUCCESS;
        case ZDQ_CAPTURE_ROWSTART:
            SetRange(pMin, pMax, 0, roi.nMaxHeight - Fov(kCaptureFov).nRowSize);
            return RET_SUCCESS;
        case ZDQ_HORIZONTALBLANK:
            return SensorGetHorizontalBlankRange(pMin, pMax);
        case ZDQ_VERTICALBLANK:
            return SensorGetVerticalBlankRange(pMin, pMax);
        case ZDQ_FLIP:
        case ZDQ_MIRROR:
            SetRange(pMin, pMax, 0, 1);
            return RET_SUCCESS;
        case ZDQ_BIN:
            return SensorGetBinRange(pMin, pMax);
        case ZDQ_CONTRAST:
            SetRange(pMin, pMax, CProcessTables::kMinContrast, CProcessTables::kMaxContrast);
            return RET_SUCCESS;
        case ZDQ_BRIGHTNESS:
            SetRange(pMin, pMax, CProcessTables::kMinBrightness, CProcessTables::kMaxBrightness);
            return RET_SUCCESS;
        case ZDQ_RED_SHIFT:
        case ZDQ_GREEN_SHIFT:
        case ZDQ_BLUE_SHIFT:
            SetRange(pMin, pMax, kMinColorShift, kMaxColorShift);
            return RET_SUCCESS;
        case ZDQ_EXPOSURE_LINES:
            return SensorGetExposureLinesRange(pMin, pMax);
        case ZDQ_SATURATION:
            if (IsMono()) {
                return RET_NOTSUPPORT;
            }
            SetRange(pMin, pMax, CProcessSaturation::kMin, CProcessSaturation::kMax);
            return RET_SUCCESS;
        case ZDQ_TRIGGERDELAY:
        case ZDQ_STROBEDELAY: {
            const CapField& bit =
                nParam == ZDQ_TRIGGERDELAY ? FpgaCap::bmSetTriggerDelay : FpgaCap::bmStrobeDelay;
            if (!m_Capability.Has(bit)) {
                return RET_NOTSUPPORT;
            }
            SetRange(pMin, pMax, 0, 65535);
            return RET_SUCCESS;
        }
        case ZDQ_TRIGGER_MODE:
            SetRange(pMin, pMax, 0,
                     m_Capability.Has(FpgaCap::bmTriggerModeHighLowFixFramerate) ? 4 : 3);
            return RET_SUCCESS;
        case ZDQ_TRIGGER_METHOD:
            if (!m_Capability.Has(FpgaCap::bmTriggerModeExternal) &&
                !m_Capability.Has(FpgaCap::bmTriggerModeHighLowFixFramerate)) {
                return RET_NOTSUPPORT;
            }
            SetRange(pMin, pMax, 0, 3);
            return RET_SUCCESS;
        case ZDQ_BLACKLEVEL:
            return SensorGetBlackLevelRange(pMin, pMax);
        case ZDQ_BLACKLEVEL_THRESHOLD_AUTO:
        case ZDQ_BLACKLEVEL_THRESHOLD_LO:
        case ZDQ_BLACKLEVEL_THRESHOLD_UPPER:
            return BlackLevelThresholdRange(nParam, pMin, pMax);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::GetParam(int nParam, int* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    *pValue = 0;
    switch (nParam) {
        case ZDQ_EXPOSURE: {
            float fMs = 0.0f;
            const int nRet = SensorGetExposureTime(&fMs);
            *pValue = SaturatedCast<int>(static_cast<double>(fMs) + 0.5);
            return nRet;
        }
        case ZDQ_RED:
            return SensorGetRedGain(pValue);
        case ZDQ_GREEN:
            return SensorGetGreenGain(pValue);
        case ZDQ_BLUE:
            return SensorGetBlueGain(pValue);
        case ZDQ_VGAGAIN:
        case ZDQ_CLAMPLEVEL:
        case ZDQ_CDSGAIN:
            return SensorGetFrontEnd(FrontEndOf(nParam), pValue);
        case ZDQ_COMPANDING:
            return SensorGetCompanding(pValue);
        case ZDQ_GAMMA:
            *pValue = m_ProcessTables.Gamma();
            return RET_SUCCESS;
        case ZDQ_PREVIEW_COLUMNSTART:
            *pValue = Fov(kPreviewFov).nColStart;
            return RET_SUCCESS;
        case ZDQ_PREVIEW_ROWSTART:
            *pValue = Fov(kPreviewFov).nRowStart;
            return RET_SUCCESS;
        case ZDQ_CAPTURE_COLUMNSTART:
            *pValue = Fov(kCaptureFov).nColStart;
            return RET_SUCCESS;
        case ZDQ_CAPTURE_ROWSTART:
            *pValue = Fov(kCaptureFov).nRowStart;
            return RET_SUCCESS;
        case ZDQ_HORIZONTALBLANK:
            return SensorGetHorizontalBlank(pValue);
        case ZDQ_VERTICALBLANK:
            return SensorGetVerticalBlank(pValue);
        case ZDQ_FLIP:
        case ZDQ_MIRROR: {
            bool bOn = false;
            const int nRet = nParam == ZDQ_FLIP ? SensorGetFlip(&bOn) : SensorGetMirror(&bOn);
            *pValue = bOn ? 1 : 0;
            return nRet;
        }
        case ZDQ_BIN:
            return SensorGetBin(pValue);
        case ZDQ_CONTRAST:
            *pValue = m_ProcessTables.Contrast();
            return RET_SUCCESS;
        case ZDQ_BRIGHTNESS:
            *pValue = m_ProcessTables.Brightness();
            return RET_SUCCESS;
        case ZDQ_RED_SHIFT:
        case ZDQ_GREEN_SHIFT:
        case ZDQ_BLUE_SHIFT:
            *pValue = m_nColorShift[nParam - ZDQ_RED_SHIFT];
            return RET_SUCCESS;
        case ZDQ_EXPOSURE_LINES:
            return SensorGetExposureLines(pValue);
        case ZDQ_SATURATION:
            *pValue = m_ProcessSaturation.Value();
            return RET_SUCCESS;
        case ZDQ_TRIGGERDELAY:
            *pValue = m_Fpga.Shadows().wTriggerDelay;
            return RET_SUCCESS;
        case ZDQ_STROBEDELAY:
            *pValue = m_Fpga.Shadows().wStrobeDelay;
            return RET_SUCCESS;
        case ZDQ_TRIGGER_MODE:
            return TriggerModeGet(pValue);
        case ZDQ_TRIGGER_METHOD:
            *pValue = (m_Fpga.Shadows().WorkingMode >> 9) & 3;
            return RET_SUCCESS;
        case ZDQ_BLACKLEVEL:
            return SensorGetBlackLevel(pValue);
        case ZDQ_BLACKLEVEL_THRESHOLD_AUTO:
        case ZDQ_BLACKLEVEL_THRESHOLD_LO:
        case ZDQ_BLACKLEVEL_THRESHOLD_UPPER:
            return BlackLevelThresholdGet(nParam, pValue);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::SetParam(int nParam, int nValue) {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++SetParam. ( Param = %04d, Value = %04d [%ls] )",
             nParam, nValue, ParamName(nParam));
    const FieldOfView preview = Fov(kPreviewFov);
    const FieldOfView capture = Fov(kCaptureFov);
    switch (nParam) {
        case ZDQ_EXPOSURE:
            return SensorSetExposureTime(static_cast<float>(nValue));
        case ZDQ_RED:
            return SensorSetRedGain(nValue);
        case ZDQ_GREEN:
            return SensorSetGreenGain(nValue);
        case ZDQ_BLUE:
            return SensorSetBlueGain(nValue);
        case ZDQ_VGAGAIN:
        case ZDQ_CLAMPLEVEL:
        case ZDQ_CDSGAIN:
            return SensorSetFrontEnd(FrontEndOf(nParam), nValue);
        case ZDQ_COMPANDING:
            return SensorSetCompanding(nValue != 0);
        case ZDQ_GAMMA:
            return m_ProcessTables.SetGamma(nValue);
        case ZDQ_PREVIEW_COLUMNSTART:
            return PreviewSetFieldOfView(nValue, preview.nRowStart, preview.nColSize,
                                         preview.nRowSize, preview.AmCol, preview.AmRow,
                                         preview.usMultiFrameNum);
        case ZDQ_PREVIEW_ROWSTART:
            return PreviewSetFieldOfView(preview.nColStart, nValue, preview.nColSize,
                                         preview.nRowSize, preview.AmCol, preview.AmRow,
                                         preview.usMultiFrameNum);
        case ZDQ_CAPTURE_COLUMNSTART:
            return CaptureSetFieldOfView(nValue, capture.nRowStart, capture.nColSize,
                                         capture.nRowSize, capture.AmCol, capture.AmRow,
                                         capture.usMultiFrameNum);
        case ZDQ_CAPTURE_ROWSTART:
            return CaptureSetFieldOfView(capture.nColStart, nValue, capture.nColSize,
                                         capture.nRowSize, capture.AmCol, capture.AmRow,
                                         capture.usMultiFrameNum);
        case ZDQ_HORIZONTALBLANK:
            return SensorSetHorizontalBlank(nValue);
        case ZDQ_VERTICALBLANK:
            return SensorSetVerticalBlank(nValue);
        case ZDQ_FLIP:
            return SensorSetFlip(nValue != 0);
        case ZDQ_BIN:
            return SensorSetBin(nValue != 0);
        case ZDQ_MIRROR:
            return SensorSetMirror(nValue != 0);
        case ZDQ_CONTRAST:
            return m_ProcessTables.SetContrast(nValue);
        case ZDQ_BRIGHTNESS:
            return m_ProcessTables.SetBrightness(nValue);
        case ZDQ_RED_SHIFT:
        case ZDQ_GREEN_SHIFT:
        case ZDQ_BLUE_SHIFT:
            return ColorShiftSet(nParam - ZDQ_RED_SHIFT, nValue);
        case ZDQ_EXPOSURE_LINES:
            return SensorSetExposureLines(nValue);
        case ZDQ_SATURATION:
            return ProcessSaturationSet(nValue);
        case ZDQ_TRIGGERDELAY:
        case ZDQ_STROBEDELAY:
            if (!m_Transport.IsOpen()) {
                return RET_DEVICECLOSED;
            }
            return m_Fpga.Fpga_WrRelateReg(
                nParam == ZDQ_TRIGGERDELAY ? FPGAREG_TRIGGER_DELAY : FPGAREG_STROBE_DELAY,
                static_cast<uint16_t>(nValue & 0xFFFF));
        case ZDQ_TRIGGER_MODE:
            return TriggerModeSet(nValue);
        case ZDQ_TRIGGER_METHOD:
            return TriggerMethodSet(nValue);
        case ZDQ_BLACKLEVEL:
            return SensorSetBlackLevel(nValue);
        case ZDQ_BLACKLEVEL_THRESHOLD_AUTO:
        case ZDQ_BLACKLEVEL_THRESHOLD_LO:
        case ZDQ_BLACKLEVEL_THRESHOLD_UPPER:
            return BlackLevelThresholdSet(nParam, nValue);
        default:
            return RET_NOTSUPPORT;
    }
}

int CDevice::ColorShiftSet(int nChannel, int nShift) {
    m_nColorShift[nChannel] = std::clamp(nShift, kMinColorShift, kMaxColorShift);
    m_ColourCorrectTables.SetShift(nChannel, m_nColorShift[nChannel]);
    return RET_SUCCESS;
}

int CDevice::ProcessSaturationSet(int nValue) {
    // The cube is allocated under the lock of the chain that reads it.
    plat::CriticalSectionLock bayer(m_BayerLock);
    return m_ProcessSaturation.Set(nValue);
}

int CDevice::SetData16Bits(bool bOn) {
    return Controlled([&] {
        if (!m_Capability.Has(FpgaCap::bm16BitsTransfer)) {
            return RET_NOTSUPPORT;
        }
        if (bOn == ((m_Fpga.WorkingMode() & WORKINGMODE_16BIT_DATA) != 0)) {
            return RET_SUCCESS;
        }
        // Frames change size: a running or paused preview stops around the
        // switch, so its buffers are sized again, and comes back as it was.
        const int nStatusBefore = m_Preview.nStatus;
        const bool bRestart = nStatusBefore != PreviewState::kStopped;
        const bool bParallel = m_Preview.bParallel;
        if (bRestart) {
            StopPreview(bParallel, false);
        }
        int nRet;
        {
            // The records change under the raw-post lock, which the frame
            // catching holds while it reads them; it comes before the bus
            // lock.
            plat::CriticalSectionLock rawPost(m_RawPostLock);
            plat::CriticalSectionLock bus(BusLock());
            nRet =
                m_Fpga.Fpga_SetRelateRegBits(FPGAREG_WORKING_MODE, bOn ? WORKINGMODE_16BIT_DATA : 0,
                                             bOn ? 0 : WORKINGMODE_16BIT_DATA);
            const uint32_t nFactor = Data16BitsOn() ? 2u : 1u;
            std::lock_guard<std::mutex> records(m_FovMutex);
            for (FieldOfView& fov : m_Fov) {
                fov.ulTotalBytes = fov.ulTotalPixels * nFactor;
            }
        }
        if (bRestart) {
            RestartPreview(bParallel, nStatusBefore);
        }
        return nRet;
    });
}

int CDevice::GetData16Bits(bool* pbOn) {
    if (pbOn == nullptr) {
        return RET_PARAMERROR;
    }
    *pbOn = false;
    if (!m_Capability.Has(FpgaCap::bm16BitsTransfer)) {
        return RET_NOTSUPPORT;
    }
    *pbOn = (m_Fpga.WorkingMode() & WORKINGMODE_16BIT_DATA) != 0;
    return RET_SUCCESS;
}

int CDevice::BlackLevelThresholdRange(int nParam, int* pMin, int* pMax) {
    if (SensorUnitOf(m_nDeviceType) != SensorUnit::MT9M001) {
        return RET_NOTSUPPORT;
    }
    *pMin = 0;
    *pMax = nParam == ZDQ_BLACKLEVEL_THRESHOLD_AUTO ? 1
            : nParam == ZDQ_BLACKLEVEL_THRESHOLD_LO ? 63
                                                    : 127;
    return RET_SUCCESS;
}

int CDevice::BlackLevelThresholdGet(int nParam, int* pValue) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    bool bAutomatic = false;
    int nLow = 0;
    int nHigh = 0;
    const int nRet = m_pSensorUnit->GetBlackLevelThresholds(&bAutomatic, &nLow, &nHigh);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    *pValue = nParam == ZDQ_BLACKLEVEL_THRESHOLD_AUTO ? (bAutomatic ? 1 : 0)
              : nParam == ZDQ_BLACKLEVEL_THRESHOLD_LO ? nLow
                                                      : nHigh;
    return RET_SUCCESS;
}

int CDevice::BlackLevelThresholdSet(int nParam, int nValue) {
    plat::CriticalSectionLock sensor(m_SensorLock);
    bool bAutomatic = false;
    int nLow = 0;
    int nHigh = 0;
    const int nRet = m_pSensorUnit->GetBlackLevelThresholds(&bAutomatic, &nLow, &nHigh);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    switch (nParam) {
        case ZDQ_BLACKLEVEL_THRESHOLD_AUTO:
            return m_pSensorUnit->SetBlackLevelThresholds(nValue != 0, nLow, nHigh);
        case ZDQ_BLACKLEVEL_THRESHOLD_LO:
            return m_pSensorUnit->SetBlackLevelThresholds(bAutomatic, nValue, nHigh);
        default:
            return m_pSensorUnit->SetBlackLevelThresholds(bAutomatic, nLow, nValue);
    }
}
