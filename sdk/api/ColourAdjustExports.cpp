// Exports of hue-saturation, the process saturation and the calibration map.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

int ZDQ_HueSaturationSet(int nIndex, int nRange, int nHue, int nSaturation, int nLightness) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.HueSaturation().Set(nRange, nHue, nSaturation, nLightness);
    });
}

int ZDQ_HueSaturationGet(int nIndex, int nRange, int* pnHue, int* pnSaturation, int* pnLightness) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.HueSaturation().Get(nRange, pnHue, pnSaturation, pnLightness);
    });
}

int ZDQ_HueSaturationSetEnable(int nIndex, bool bOn) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.HueSaturationSetEnable(bOn); });
}

int ZDQ_HueSaturationGetEnable(int nIndex, bool* pbOn) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pbOn, device.HueSaturation().Enabled());
        return RET_SUCCESS;
    });
}

int ZDQ_ProcessSaturationSet(int nIndex, int nValue) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.ProcessSaturationSet(nValue); });
}

int ZDQ_ProcessSaturationGet(int nIndex, int* pnValue) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pnValue, device.ProcessSaturation());
        return RET_SUCCESS;
    });
}

int ZDQ_ProcessSaturationGetRange(int nIndex, int* pnMin, int* pnMax) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const bool bMono = device.IsMonochrome();
        SetOut(pnMin, bMono ? 0 : CProcessSaturation::kMin);
        SetOut(pnMax, bMono ? 0 : CProcessSaturation::kMax);
        return bMono ? RET_NOTSUPPORT : RET_SUCCESS;
    });
}

int ZDQ_LoadCalibrationMapFile(int nIndex, const wchar_t* pszFile) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.LoadCalibrationMapFile(pszFile); });
}

int ZDQ_SetCalibrationMapMode(int nIndex, int nMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.CalibrationMap().SetMode(nMode);
        return RET_SUCCESS;
    });
}

int ZDQ_GetCalibrationMapMode(int nIndex, int* pnMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pnMode, device.CalibrationMap().Mode());
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewSetCalibration(int nIndex, bool bOn) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.CalibrationMap().SetPreview(bOn);
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewGetCalibration(int nIndex, bool* pbOn) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pbOn, device.CalibrationMap().Preview());
        return RET_SUCCESS;
    });
}

int ZDQ_CaptureSetCalibration(int nIndex, bool bOn) {
    return WithDevice(nIndex, [&](CDevice& device) {
        device.CalibrationMap().SetCapture(bOn);
        return RET_SUCCESS;
    });
}

int ZDQ_CaptureGetCalibration(int nIndex, bool* pbOn) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pbOn, device.CalibrationMap().Capture());
        return RET_SUCCESS;
    });
}

int ZDQ_CalibrationProgram(int nIndex, const void* pData) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.CalibrationProgram(pData); });
}

int ZDQ_CalibrationReadout(int nIndex, unsigned char* pData) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.CalibrationReadout(pData); });
}
