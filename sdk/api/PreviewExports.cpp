// Exports of the preview.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

int ZDQ_PreviewStart(int nIndex, bool bStart) {
    ApiLog(L"ZDQAPI::++ZDQ_PreviewStart(%d, %d).", nIndex, bStart ? 1 : 0);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        return bStart ? device.StartPreviewSerial()
                      : device.StopPreview(device.PreviewParallel(), true);
    });
    ApiLog(L"ZDQAPI::--ZDQ_PreviewStart.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_PreviewStartEx(int nIndex, bool bStart, bool bParallel) {
    ApiLog(L"ZDQAPI::++ZDQ_PreviewStartEx(%d, %d, bParallel).", nIndex, bStart ? 1 : 0);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        return bStart ? device.StartPreview(bParallel) : device.StopPreview(bParallel, true);
    });
    ApiLog(L"ZDQAPI::--ZDQ_PreviewStart.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_PreviewPause(int nIndex, bool bPause) {
    ApiLog(L"ZDQAPI::++ZDQ_PreviewPause(%d, %d).", nIndex, bPause ? 1 : 0);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        return bPause ? device.PausePreview() : device.ResumePreview();
    });
    ApiLog(L"ZDQAPI::--ZDQ_PreviewPause.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_PreviewGetStatus(int nIndex, int* pStatus) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pStatus, device.PreviewStatus());
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewGetStatusEx(int nIndex, int* pStatus, bool* pbParallel) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pStatus, device.PreviewStatus());
        SetOut(pbParallel, device.PreviewParallel());
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewSetPos(int nIndex, ZDQWindow hWnd, int nX, int nY, int nWidth, int nHeight) {
    ApiLog(L"ZDQAPI::++ZDQ_PreviewSetPos(%d, 0x%x, %d, %d, %d, %d).", nIndex,
           static_cast<unsigned>(hWnd), nX, nY, nWidth, nHeight);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.SetPreviewPlacement(hWnd, nX, nY, nWidth, nHeight);
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_PreviewSetPos.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_PreviewGetPos(int nIndex, int* pX, int* pY, int* pWidth, int* pHeight) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const PreviewState::Placement placement = device.PreviewPlacement();
        SetOut(pX, placement.x);
        SetOut(pY, placement.y);
        SetOut(pWidth, placement.nWidth);
        SetOut(pHeight, placement.nHeight);
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewSetMode(int nIndex, int nMode) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SetOutputMode(nMode); });
}

int ZDQ_PreviewGetMode(int nIndex, int* pMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pMode == nullptr) {
            return RET_PARAMERROR;
        }
        *pMode = device.OutputMode();
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewGetDefaultMode(int nIndex, int* pMode) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pMode == nullptr) {
            return RET_PARAMERROR;
        }
        *pMode = device.Capability().Has(SensorCap::bmMono) ? CDevice::kOutputRaw
                                                            : CDevice::kOutputColour;
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewGetSize(int nIndex, int* pWidth, int* pHeight) {
    return ZDQ_PreviewGetSizeEx(nIndex, pWidth, pHeight, nullptr);
}

int ZDQ_PreviewGetSizeEx(int nIndex, int* pWidth, int* pHeight, int* pBitCount) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const FieldOfView& fov = device.Fov(kPreviewFov);
        SetOut(pWidth, fov.nWidth);
        SetOut(pHeight, fov.nHeight);
        SetOut(pBitCount, device.GetOutputBitCount());
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewGetFrameRate(int nIndex, float* pfRate) {
    return ZDQ_PreviewGetFrameRateEx(nIndex, pfRate, nullptr);
}

int ZDQ_PreviewGetFrameRateEx(int nIndex, float* pfCaptureRate, float* pfShowRate) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const PreviewState& preview = device.Preview();
        const bool bRunning = device.PreviewStatus() == PreviewState::kRunning;
        SetOut(pfCaptureRate, bRunning ? preview.fCaptureFrameRate.load() : 0.0f);
        SetOut(pfShowRate, bRunning ? preview.fShowFrameRate.load() : 0.0f);
        return bRunning ? RET_SUCCESS : RET_NOTSUPPORT;
    });
}

int ZDQ_GetPreviewFrameCount(int nIndex, int* pCaught, int* pShown) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pCaught, device.Preview().nCaughtTotal.load());
        SetOut(pShown, device.Preview().nShownTotal.load());
        return RET_SUCCESS;
    });
}

int ZDQ_SetBufferCount(int nIndex, int nCount) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SetBufferCount(nCount); });
}

int ZDQ_GetBufferCount(int nIndex, int* pCount) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pCount, device.BufferCount());
        return RET_SUCCESS;
    });
}

int ZDQ_PreviewGetPausedData(int nIndex, unsigned char* pData) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.PreviewGetPausedData(pData); });
}

int ZDQ_PreviewGetPausedDataEx(int nIndex, unsigned char* pData, int* pWidth, int* pHeight,
                               int* pBitCount) {
    return WithDevice(nIndex, [&](CDevice& device) {
        const int nRet = device.PreviewGetPausedData(pData);
        if (nRet == RET_SUCCESS) {
            const FieldOfView& fov = device.Fov(kPreviewFov);
            SetOut(pWidth, fov.nWidth);
            SetOut(pHeight, fov.nHeight);
            SetOut(pBitCount, static_cast<int>(device.BitmapInfo()->bmiHeader.biBitCount));
        }
        return nRet;
    });
}

int ZDQ_PreviewSetCallback(int nIndex, PreviewCallback pfCallback, void* pContext) {
    ApiLog(L"ZDQAPI::++ZDQ_PreviewSetCallback(%d, 0x%x, 0x%x).", nIndex,
           LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(pContext));
    const int nRet = WithDevice(
        nIndex, [&](CDevice& device) { return device.SetPreviewCallback(pfCallback, pContext); });
    ApiLog(L"ZDQAPI::--ZDQ_PreviewSetCallback.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_PreviewSetCallbackEx(int nIndex, PreviewCallbackEx pfCallback, void* pContext) {
    ApiLog(L"ZDQAPI::++ZDQ_PreviewSetCallbackEx(%d, 0x%x, 0x%x).", nIndex,
           LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(pContext));
    const int nRet = WithDevice(
        nIndex, [&](CDevice& device) { return device.SetPreviewCallbackEx(pfCallback, pContext); });
    ApiLog(L"ZDQAPI::--ZDQ_PreviewSetCallbackEx.Ret(%d)", nRet);
    return nRet;
}
