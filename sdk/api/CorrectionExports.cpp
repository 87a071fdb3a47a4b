// Exports of the per-pixel corrections: the camera's LUT and gamma LUT,
// sensitivity, bad-pixel correction, the SDK's contrast, brightness and
// gamma, flat-field correction and the LED (which no camera has).
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

int ZDQ_LutFileDownload(int nIndex, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_LutFileDownload", nIndex,
                            [&](CDevice& device) { return device.LutFileDownload(pszFile); });
}

int ZDQ_LoadMapTableFile(int nIndex, int /*nUnused*/, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_LoadMapTableFile", nIndex,
                            [&](CDevice& device) { return device.LutFileDownload(pszFile); });
}

int ZDQ_LutDataDownload(int nIndex, const void* pData, int nLength) {
    return LoggedDeviceCall(L"ZDQ_LutDataDownload", nIndex, [&](CDevice& device) {
        return device.LutDataDownload(static_cast<const uint8_t*>(pData), nLength);
    });
}

int ZDQ_WriteLUT(int nIndex, int nOffset, const void* pData, int nLength) {
    return LoggedDeviceCall(L"ZDQ_WriteLUT", nIndex, [&](CDevice& device) {
        return device.LutWrite(nOffset, static_cast<const uint8_t*>(pData), nLength);
    });
}

int ZDQ_ReadLUT(int /*nIndex*/) {
    ApiLog(L"ZDQAPI::++ZDQ_ReadLUT.");
    const int nRet = g_pDeviceManager != nullptr ? RET_NOTSUPPORT : RET_DEVICENOTINIT;
    ApiLog(L"ZDQAPI::--ZDQ_ReadLUT. Ret(%d)", nRet);
    return nRet;
}

int ZDQ_LutSetEnable(int nIndex, bool bOn) {
    return LoggedDeviceCall(L"ZDQ_LutSetEnable", nIndex,
                            [&](CDevice& device) { return device.LutSetEnable(bOn); });
}

int ZDQ_EnableLUT(int nIndex, bool bOn) {
    return LoggedDeviceCall(L"ZDQ_EnableLUT", nIndex,
                            [&](CDevice& device) { return device.LutSetEnable(bOn); });
}

int ZDQ_LutGetEnable(int nIndex, bool* pbOn) {
    return LoggedDeviceCall(L"ZDQ_LutGetEnable", nIndex,
                            [&](CDevice& device) { return device.LutGetEnable(pbOn); });
}

int ZDQ_IsEnableLUT(int nIndex, bool* pbOn) {
    return LoggedDeviceCall(L"ZDQ_IsEnableLUT", nIndex,
                            [&](CDevice& device) { return device.LutGetEnable(pbOn); });
}

int ZDQ_IsSupportLUT(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_IsSupportLUT", nIndex, [&](CDevice& device) {
        return device.Capability().Has(FpgaCap::bmLutEnable) ? RET_SUCCESS : RET_NOTSUPPORT;
    });
}

int ZDQ_GammaLutFileDownload(int nIndex, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_GammaLutFileDownload", nIndex,
                            [&](CDevice& device) { return device.GammaLutFileDownload(pszFile); });
}

int ZDQ_GammaLutDataDownload(int nIndex, const unsigned short* pEntries, int nEntries) {
    return LoggedDeviceCall(L"ZDQ_GammaLutDataDownload", nIndex, [&](CDevice& device) {
        return device.GammaLutDataDownload(pEntries, nEntries);
    });
}

int ZDQ_GammaLutSetEnable(int nIndex, bool bOn) {
    return LoggedDeviceCall(L"ZDQ_GammaLutSetEnable", nIndex,
                            [&](CDevice& device) { return device.GammaLutSetEnable(bOn); });
}

int ZDQ_GammaLutGetEnable(int nIndex, bool* pbOn) {
    return LoggedDeviceCall(L"ZDQ_GammaLutGetEnable", nIndex,
                            [&](CDevice& device) { return device.GammaLutGetEnable(pbOn); });
}

int ZDQ_SensitivitySetMode(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_SensitivitySetMode", nIndex,
                            [&](CDevice& device) { return device.SensitivitySetMode(nMode); });
}

int ZDQ_SensitivityGetMode(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_SensitivityGetMode", nIndex,
                            [&](CDevice& device) { return device.SensitivityGetMode(pMode); });
}

int ZDQ_BadPixelCorrectionSet(int nIndex, bool bOn, int nMode) {
    return LoggedDeviceCall(L"ZDQ_BadPixelCorrectionSet", nIndex, [&](CDevice& device) {
        return device.BadPixelCorrectionSet(bOn, nMode);
    });
}

int ZDQ_BadPixelCorrectionGet(int nIndex, bool* pbOn, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_BadPixelCorrectionGet", nIndex, [&](CDevice& device) {
        return device.BadPixelCorrectionGet(pbOn, pMode);
    });
}

int ZDQ_BadPixelCorrectionSetThreshold(int nIndex, int nNear, int nFar) {
    return LoggedDeviceCall(L"ZDQ_BadPixelCorrectionSetThreshold", nIndex, [&](CDevice& device) {
        return device.BadPixelCorrectionSetThreshold(nNear, nFar);
    });
}

int ZDQ_BadPixelCorrectionGetThreshold(int nIndex, unsigned char* pNear, unsigned char* pFar) {
    return LoggedDeviceCall(L"ZDQ_BadPixelCorrectionGetThreshold", nIndex, [&](CDevice& device) {
        return device.BadPixelCorrectionGetThreshold(pNear, pFar);
    });
}

int ZDQ_ProcessContrastSet(int nIndex, int nValue) {
    return LoggedDeviceCall(L"ZDQ_ProcessContrastSet", nIndex, [&](CDevice& device) {
        return device.ProcessTables().SetContrast(nValue);
    });
}

int ZDQ_ProcessContrastGet(int nIndex, int* pValue) {
    return LoggedDeviceCall(L"ZDQ_ProcessContrastGet", nIndex, [&](CDevice& device) {
        SetOut(pValue, device.ProcessTables().Contrast());
        return RET_SUCCESS;
    });
}

int ZDQ_ProcessContrastGetRange(int nIndex, int* pMin, int* pMax) {
    return LoggedDeviceCall(L"ZDQ_ProcessContrastGetRange", nIndex, [&](CDevice&) {
        SetOut(pMin, CProcessTables::kMinContrast);
        SetOut(pMax, CProcessTables::kMaxContrast);
        return RET_SUCCESS;
    });
}

int ZDQ_ProcessBrightnessSet(int nIndex, int nValue) {
    return LoggedDeviceCall(L"ZDQ_ProcessBrightnessSet", nIndex, [&](CDevice& device) {
        return device.ProcessTables().SetBrightness(nValue);
    });
}

int ZDQ_ProcessBrightnessGet(int nIndex, int* pValue) {
    return LoggedDeviceCall(L"ZDQ_ProcessBrightnessGet", nIndex, [&](CDevice& device) {
        SetOut(pValue, device.ProcessTables().Brightness());
        return RET_SUCCESS;
    });
}

int ZDQ_ProcessBrightnessGetRange(int nIndex, int* pMin, int* pMax) {
    return LoggedDeviceCall(L"ZDQ_ProcessBrightnessGetRange", nIndex, [&](CDevice&) {
        SetOut(pMin, CProcessTables::kMinBrightness);
        SetOut(pMax, CProcessTables::kMaxBrightness);
        return RET_SUCCESS;
    });
}

int ZDQ_GammaSetValue(int nIndex, int nValue) {
    return LoggedDeviceCall(L"ZDQ_GammaSetValue", nIndex, [&](CDevice& device) {
        return device.ProcessTables().SetGamma(nValue);
    });
}

int ZDQ_GammaGetValue(int nIndex, int* pValue) {
    return LoggedDeviceCall(L"ZDQ_GammaGetValue", nIndex, [&](CDevice& device) {
        SetOut(pValue, device.ProcessTables().Gamma());
        return RET_SUCCESS;
    });
}

int ZDQ_GammaGetRange(int nIndex, int* pMin, int* pMax) {
    return LoggedDeviceCall(L"ZDQ_GammaGetRange", nIndex, [&](CDevice&) {
        SetOut(pMin, CProcessTables::kMinGamma);
        SetOut(pMax, CProcessTables::kMaxGamma);
        return RET_SUCCESS;
    });
}

int ZDQ_SetFlatFieldCorrectionFieldOfView(int nIndex, int nColStart, int nRowStart, int nColSize,
                                          int nRowSize, int nAmCol, int nAmRow,
                                          unsigned short usMultiFrameNum) {
    ApiLog(L"ZDQAPI::++ZDQ_SetFlatFieldCorrectionFieldOfView(%d).", nIndex);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        return device.SetFlatFieldFieldOfView(nColStart, nRowStart, nColSize, nRowSize, nAmCol,
                                              nAmRow, usMultiFrameNum);
    });
    ApiLog(L"ZDQAPI::--ZDQ_SetFlatFieldCorrectionFieldOfView.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_GetFlatFieldCorrectionFieldOfView(int nIndex, int* pColStart, int* pRowStart, int* pColSize,
                                          int* pRowSize, int* pAmCol, int* pAmRow,
                                          unsigned short* pMultiFrameNum) {
    return LoggedDeviceCall(L"ZDQ_GetFlatFieldCorrectionFieldOfView", nIndex, [&](CDevice& device) {
        const FieldOfView& fov = device.FlatFieldFov();
        SetOut(pColStart, fov.nColStart);
        SetOut(pRowStart, fov.nRowStart);
        SetOut(pColSize, fov.nColSize);
        SetOut(pRowSize, fov.nRowSize);
        SetOut(pAmCol, fov.AmCol);
        SetOut(pAmRow, fov.AmRow);
        SetOut(pMultiFrameNum, fov.usMultiFrameNum);
        return RET_SUCCESS;
    });
}

int ZDQ_MakeDarkFrame(int nIndex, int nFrames) {
    return LoggedDeviceCall(L"ZDQ_MakeDarkFrame", nIndex,
                            [&](CDevice& device) { return device.MakeDarkFrame(nFrames); });
}

int ZDQ_MakeFlatFieldFrame(int nIndex, int nFrames) {
    return LoggedDeviceCall(L"ZDQ_MakeFlatFieldFrame", nIndex,
                            [&](CDevice& device) { return device.MakeFlatFieldFrame(nFrames); });
}

int ZDQ_PreviewSetFlatFieldCorrection(int nIndex, bool bOn) {
    return LoggedDeviceCall(L"ZDQ_PreviewSetFlatFieldCorrection", nIndex, [&](CDevice& device) {
        return device.SetFlatFieldCorrection(true, bOn);
    });
}

int ZDQ_PreviewGetFlatFieldCorrection(int nIndex, bool* pbOn) {
    return LoggedDeviceCall(L"ZDQ_PreviewGetFlatFieldCorrection", nIndex, [&](CDevice& device) {
        SetOut(pbOn, device.FlatFieldCorrection(true));
        return RET_SUCCESS;
    });
}

int ZDQ_CaptureSetFlatFieldCorrection(int nIndex, bool bOn) {
    return LoggedDeviceCall(L"ZDQ_CaptureSetFlatFieldCorrection", nIndex, [&](CDevice& device) {
        return device.SetFlatFieldCorrection(false, bOn);
    });
}

int ZDQ_CaptureGetFlatFieldCorrection(int nIndex, bool* pbOn) {
    return LoggedDeviceCall(L"ZDQ_CaptureGetFlatFieldCorrection", nIndex, [&](CDevice& device) {
        SetOut(pbOn, device.FlatFieldCorrection(false));
        return RET_SUCCESS;
    });
}

int ZDQ_SaveFlatFieldCorrection(int nIndex, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_SaveFlatFieldCorrection", nIndex, [&](CDevice& device) {
        return device.SaveFlatFieldCorrection(pszFile);
    });
}

int ZDQ_LoadFlatFieldCorrection(int nIndex, const wchar_t* pszFile) {
    return LoggedDeviceCall(L"ZDQ_LoadFlatFieldCorrection", nIndex, [&](CDevice& device) {
        return device.LoadFlatFieldCorrection(pszFile);
    });
}

int ZDQ_LedGetStatus(int /*nIndex*/, int* /*pStatus*/) {
    return RET_NOTSUPPORT;
}

int ZDQ_LedSetStatus(int /*nIndex*/, int /*nStatus*/) {
    return RET_NOTSUPPORT;
}
