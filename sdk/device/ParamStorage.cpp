// The parameter block in the camera's memory: gathered from every feature of
// the device and programmed, erased, and read back and applied (when the
// camera opens, and on request).
#include "ZDQApi.h"
#include "acquisition/Demosaic.h"
#include "acquisition/ParamBlock.h"
#include "capability/DeviceType.h"
#include "device/Device.h"

namespace {

constexpr uint16_t kFirmware2020 = 0x1414;
constexpr int kFirmwareMajor20 = 20;
constexpr int kLineScanRegisterCount = 4;
constexpr uint16_t kSoftwareStartPulse = 0x8000;

// Sensors whose global-reset shutter and pre-exposure the block keeps: those of
// the global-reset units.
bool HasPreExposure(int nType) {
    const SensorUnit unit = SensorUnitOf(nType);
    return unit == SensorUnit::IMX183 || unit == SensorUnit::IMX226;
}

// The global-reset shutter is stored only where the firmware runs it.
bool KeepsGlobalReset(int nType, uint16_t wFirmware) {
    switch (nType) {
        case 96:
        case 97:
            return (wFirmware >> 8) >= kFirmwareMajor20;
        case 102:
        case 103:
            return wFirmware >= kFirmware2020;
        case 122:
        case 123:
            return true;
        default:
            return false;
    }
}

StoredWindow WindowOf(const FieldOfView& fov) {
    return StoredWindow{fov.nColStart, fov.nRowStart, fov.nColSize, fov.nRowSize, fov.AmCol};
}

}  // namespace

StoredParams CDevice::GatherParams() {
    StoredParams p;
    p.preview = WindowOf(m_Fov[kPreviewFov]);
    p.capture = WindowOf(m_Fov[kCaptureFov]);
    SensorGetExposureLines(&p.nExposureLines);
    SensorGetRedGain(&p.nGain[0]);
    SensorGetGreenGain(&p.nGain[1]);
    SensorGetBlueGain(&p.nGain[2]);

    p.byFlags =
        static_cast<uint8_t>((m_bFlip ? PARAMFLAG_FLIP : 0) | (m_bMirror ? PARAMFLAG_MIRROR : 0) |
                             (m_CalibrationMap.Preview() ? PARAMFLAG_PREVIEW_CALIBRATION : 0) |
                             (m_CalibrationMap.Capture() ? PARAMFLAG_CAPTURE_CALIBRATION : 0) |
                             (m_AutoExposure.Started() ? PARAMFLAG_AE_RUNNING : 0));
    p.byWhiteBalanceMode = static_cast<uint8_t>(m_WhiteBalance.Mode());
    p.nWhiteBalanceThreshold = m_WhiteBalance.AutoThreshold();
    p.byWhiteBalancePreset = static_cast<uint8_t>(m_WhiteBalance.Preset());
    m_WhiteBalance.Gains(p.fWhiteBalanceGains);
    p.byMatrixMode = static_cast<uint8_t>(m_ColourMatrix.Mode());
    p.byMatrixPreset = static_cast<uint8_t>(m_ColourMatrix.Preset());
    m_ColourMatrix.Matrix(p.fMatrix);

    // The sensor's own AE window where the sensor reports one (the AR0130
    // and MT9M031 units), else the region the SDK's AE measures.
    const FrameRegion region = m_AutoExposure.ReportedRegion();
    p.nAeRegion[0] = region.x;
    p.nAeRegion[1] = region.y;
    p.nAeRegion[2] = region.width;
    p.nAeRegion[3] = region.height;
    p.fAeTimeMin = m_AutoExposure.ExposureTimeMin();
    p.fAeTimeMax = m_AutoExposure.ExposureTimeMax();
    p.nAeMaxCount = m_AutoExposure.MaxCount();
    p.nAeTarget = m_AutoExposure.Target();

    const FpgaRelateRegValue& shadow = m_Fpga.Shadows();
    bool bGlobalReset = false;
    if (KeepsGlobalReset(m_nDeviceType, m_wFirmwareVersion) &&
        (shadow.WorkingMode & (WORKINGMODE_TRIGGER_B0 | WORKINGMODE_TRIGGER_B12)) != 0 &&
        GlobalResetShutterGet(&bGlobalReset) == RET_SUCCESS && bGlobalReset) {
        p.bGlobalReset = 1;
    }
    int nPreExposureLines = 0;
    if (HasPreExposure(m_nDeviceType)) {
        SensorPreExposureLinesGet(&nPreExposureLines);
    }
    p.wPreExposureLines = static_cast<uint16_t>(nPreExposureLines);

    GetFixedFrameRate(&p.fFixedFrameRate);
    p.wTriggerDelay = shadow.wTriggerDelay;
    p.wStrobeDelay = shadow.wStrobeDelay;
    ParamModeBits bits;
    TriggerModeGet(&bits.nTriggerMode);
    bits.nTriggerMethod =
        (shadow.WorkingMode & WORKINGMODE_TRIGGER_METHOD) >> kWorkingModeTriggerMethodShift;
    if (SensorUnitOf(m_nDeviceType) == SensorUnit::Sensor2592Family) {
        int nFlashMode = 0;
        SensorFlashGetMode(&nFlashMode);
        bits.nFlashMode = nFlashMode == 1 || nFlashMode == 2 ? nFlashMode : 0;
    }
    SensorFlashEnableGet(&bits.bFlashEnable);
    SensorFlashInvertGet(&bits.bFlashInvert);
    bits.bData16Bits = Data16BitsOn();
    SensitivityGetMode(&bits.nSensitivity);
    BadPixelCorrectionGet(&bits.bBadPixelCorrection, &bits.nBadPixelLevel);
    p.wModeBits = bits.Pack();

    p.nCaptureTimeOut = static_cast<int32_t>(CaptureTimeOut());
    p.bRecover = Recover() ? 1 : 0;
    p.byBayerMode = static_cast<uint8_t>(m_nBayerMode);
    p.byFilterMode = static_cast<uint8_t>(m_nFilterMode);
    p.nContrast = m_ProcessTables.Contrast();
    p.nBrightness = m_ProcessTables.Brightness();
    p.nGamma = m_ProcessTables.Gamma();
    p.nSaturation = m_ProcessSaturation.Value();
    p.bySensitivity = static_cast<uint8_t>(bits.nSensitivity);
    m_Gpio.GetDirection(&p.byGpioDirection);

    // Read live; a register the FPGA does not offer is stored as 0.
    if (m_Fpga.Fpga_RdReg(FPGAREG_IO_STATUS, &p.wIoStatus) != RET_SUCCESS) {
        p.wIoStatus = 0;
    }
    for (int i = 0; i < kLineScanRegisterCount; ++i) {
        if (m_Fpga.Fpga_RdReg(FPGAREG_CAP_XXX + i, &p.wCap[i]) != RET_SUCCESS) {
            p.wCap[i] = 0;
        }
    }
    return p;
}

int CDevice::ParamProgram() {
    const ParamBlockBytes bytes = PackParamBlock(GatherParams());
    return m_Memory.Write(MemoryItem::ParamBlock, 0, bytes.data(), kParamBlockBytes);
}

int CDevice::ParamErase() {
    const ParamBlockBytes zeros{};
    return m_Memory.Write(MemoryItem::ParamBlock, 0, zeros.data(), kParamBlockBytes);
}

void CDevice::LogParamApplyFailure(const wchar_t* pszStep, int nRet) const {
    if (nRet != RET_SUCCESS) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL,
                 L"ZDQAPI::**LoadParamFromCamera. ( %ls failed! Ret = %d )", pszStep, nRet);
    }
}

int CDevice::LoadParamFromCamera() {
    ParamBlockBytes bytes{};
    const int nRead = m_Memory.Read(MemoryItem::ParamBlock, 0, bytes.data(), kParamBlockBytes);
    if (nRead != RET_SUCCESS) {
        return nRead;
    }
    StoredParams params;
    if (!UnpackParamBlock(bytes, params)) {
        return RET_FATALERROR;
    }
    ApplyParams(params);
    return RET_SUCCESS;
}

void CDevice::ApplyParams(const StoredParams& p) {
    auto apply = [this](const wchar_t* pszStep, int nRet) { LogParamApplyFailure(pszStep, nRet); };

    apply(L"SensorSetExposureLines", SensorSetExposureLines(p.nExposureLines));
    apply(L"SensorSetRedGain", SensorSetRedGain(p.nGain[0]));
    apply(L"SensorSetGreenGain", SensorSetGreenGain(p.nGain[1]));
    apply(L"SensorSetBlueGain", SensorSetBlueGain(p.nGain[2]));
    apply(L"PreviewSetFieldOfView",
          PreviewSetFieldOfView(p.preview.nColStart, p.preview.nRowStart, p.preview.nColSize,
                                p.preview.nRowSize, p.preview.nAm, p.preview.nAm,
                                m_Fov[kPreviewFov].usMultiFrameNum));
    apply(L"CaptureSetFieldOfView",
          CaptureSetFieldOfView(p.capture.nColStart, p.capture.nRowStart, p.capture.nColSize,
                                p.capture.nRowSize, p.capture.nAm, p.capture.nAm,
                                m_Fov[kCaptureFov].usMultiFrameNum));
    apply(L"SensorSetFlip", SensorSetFlip((p.byFlags & PARAMFLAG_FLIP) != 0));
    apply(L"SensorSetMirror", SensorSetMirror((p.byFlags & PARAMFLAG_MIRROR) != 0));
    m_CalibrationMap.SetPreview((p.byFlags & PARAMFLAG_PREVIEW_CALIBRATION) != 0);
    m_CalibrationMap.SetCapture((p.byFlags & PARAMFLAG_CAPTURE_CALIBRATION) != 0);
    if (!IsMono()) {
        // A monochrome camera has no white balance and no colour matrix.
        apply(L"WhiteBalanceSet", m_WhiteBalance.SetMode(p.byWhiteBalanceMode));
        m_WhiteBalance.SetAutoThreshold(p.nWhiteBalanceThreshold);
        apply(L"WhiteBalancePresettingSet", m_WhiteBalance.SetPreset(p.byWhiteBalancePreset));
        if (p.byWhiteBalanceMode == 4 || p.byWhiteBalanceMode == 8) {
            apply(L"WhiteBalanceMatrixSet", m_WhiteBalance.SetGains(p.fWhiteBalanceGains));
        }
        apply(L"ColorCorrectionSet", m_ColourMatrix.SetMode(p.byMatrixMode));
        apply(L"ColorCorrectionPresettingSet", m_ColourMatrix.SetPreset(p.byMatrixPreset));
        if (p.byMatrixMode == 2 || p.byMatrixMode == 4) {
            apply(L"ColorCorrectionMatrixSet", m_ColourMatrix.SetMatrix(p.fMatrix));
        }
    }
    m_AutoExposure.SetRegion(
        FrameRegion{p.nAeRegion[0], p.nAeRegion[1], p.nAeRegion[2], p.nAeRegion[3]});
    m_AutoExposure.SetExposureTimeRange(p.fAeTimeMin, p.fAeTimeMax);
    m_AutoExposure.SetMaxCount(p.nAeMaxCount);
    apply(L"AESetTarget", m_AutoExposure.SetTarget(p.nAeTarget));
    m_AutoExposure.StartEx((p.byFlags & PARAMFLAG_AE_RUNNING) != 0);
    if (!ParamBlockHas(p, 4)) {
        return;
    }

    const uint16_t wModeBits = p.byMajor == 1 && p.byMinor <= 6
                                   ? ParamModeBits::FromOlderLayout(p.wModeBits)
                                   : p.wModeBits;
    const ParamModeBits bits = ParamModeBits::Unpack(wModeBits);
    apply(L"TriggerModeSet", TriggerModeSet(bits.nTriggerMode));
    apply(L"TriggerMethodSet", TriggerMethodSet(bits.nTriggerMethod));
    apply(L"SetFixedFrameRate", SetFixedFrameRate(p.fFixedFrameRate));
    if (m_Transport.IsOpen()) {
        apply(L"TriggerDelaySet", TriggerDelaySet(p.wTriggerDelay));
    }
    apply(L"GlobalResetShutterSet", GlobalResetShutterSet(p.bGlobalReset != 0));
    apply(L"PreExposureLinesSet", SensorPreExposureLinesSet(p.wPreExposureLines));
    apply(L"SetParam(ZDQ_STROBEDELAY)", SetParam(ZDQ_STROBEDELAY, p.wStrobeDelay));
    apply(L"FlashSetMode", SensorFlashSetMode(bits.nFlashMode));
    apply(L"FlashEnableSet", SensorFlashEnableSet(bits.bFlashEnable));
    apply(L"FlashInvertSet", SensorFlashInvertSet(bits.bFlashInvert));
    apply(L"SetData16Bits", SetData16Bits(bits.bData16Bits));
    apply(L"SensitivitySetMode", SensitivitySetMode(bits.nSensitivity));
    apply(L"BadPixelCorrectionSet",
          BadPixelCorrectionSet(bits.bBadPixelCorrection, bits.nBadPixelLevel));
    if (!ParamBlockHas(p, 5)) {
        return;
    }

    SetCaptureTimeOut(static_cast<uint32_t>(p.nCaptureTimeOut));
    SetRecover(p.bRecover != 0);
    if (!ParamBlockHas(p, 6)) {
        return;
    }

    if (p.byBayerMode <= kMaxBayerMode && p.byBayerMode != m_nBayerMode) {
        apply(L"BayerSetMode", BayerSetMode(p.byBayerMode));
    }
    if (p.byFilterMode <= kMaxDemosaicAlgorithm) {
        apply(L"FilterSetMode", FilterSetMode(p.byFilterMode));
    }
    apply(L"SetParam(ZDQ_CONTRAST)", SetParam(ZDQ_CONTRAST, p.nContrast));
    apply(L"SetParam(ZDQ_BRIGHTNESS)", SetParam(ZDQ_BRIGHTNESS, p.nBrightness));
    apply(L"SetParam(ZDQ_GAMMA)", SetParam(ZDQ_GAMMA, p.nGamma));
    apply(L"SetParam(ZDQ_SATURATION)", SetParam(ZDQ_SATURATION, p.nSaturation));
    if (!ParamBlockHas(p, 8)) {
        return;
    }

    apply(L"SensitivitySetMode", SensitivitySetMode(p.bySensitivity));
    if (!ParamBlockHas(p, 9)) {
        return;
    }

    apply(L"GpioSetDirection", m_Gpio.SetDirection(p.byGpioDirection));
    apply(L"Fpga_WrRelateReg(FPGAREG_IO_STATUS)",
          m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_STATUS, p.wIoStatus));
    if (!ParamBlockHas(p, 10)) {
        return;
    }

    if (!m_Capability.Has(FpgaCap::bm3DRegisters)) {
        LogParamApplyFailure(L"FPGAREG_CAP_XXX", RET_NOTSUPPORT);
        return;
    }
    for (int i = 0; i < kLineScanRegisterCount; ++i) {
        // A stored start pulse would fire a capture: it is never written back.
        const uint16_t wValue =
            i == 0 ? static_cast<uint16_t>(p.wCap[0] & ~kSoftwareStartPulse) : p.wCap[i];
        apply(L"FPGAREG_CAP_XXX", ModeChangeWrite(FPGAREG_CAP_XXX + i, wValue, true));
    }
}
