// Exports of the trigger: mode, method and status, trigger and strobe
// delays, the fixed frame rate, the trigger signal period, the line-scan
// start controls and the sensor mode.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

namespace {
constexpr unsigned short kMaxDelay = 65535;
constexpr float kMinSignalPeriod = 0.003968254f;
constexpr float kMaxSignalPeriod = 255.0f;

// 0 and 65535 into the non-null outputs when the camera has the capability.
int DelayRange(CDevice& device, const CapField& capability, unsigned short* pMin,
               unsigned short* pMax) {
    if (!device.Capability().Has(capability)) {
        return RET_NOTSUPPORT;
    }
    SetOut(pMin, 0);
    SetOut(pMax, kMaxDelay);
    return RET_SUCCESS;
}

}  // namespace

int ZDQ_TriggerModeSet(int nIndex, int nMode) {
    ApiLog(L"ZDQAPI::++ZDQ_TriggerModeSet(%d, %d).", nIndex, nMode);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        if (nMode < 0 || nMode > 4) {
            return RET_NOTSUPPORT;
        }
        return device.TriggerModeSet(nMode);
    });
    ApiLog(L"ZDQAPI::--ZDQ_TriggerModeSet(%d, nRet=%d).", nIndex, nRet);
    return nRet;
}

int ZDQ_TriggerModeGet(int nIndex, int* pMode) {
    ApiLog(L"ZDQAPI::++ZDQ_TriggerModeGet(%d).", nIndex);
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.TriggerModeGet(pMode); });
    ApiLog(L"ZDQAPI::--ZDQ_TriggerModeGet(%d, %d, nRet=%d).", nIndex, pMode != nullptr ? *pMode : 0,
           nRet);
    return nRet;
}

int ZDQ_TriggerMethodSet(int nIndex, int nMethod) {
    ApiLog(L"ZDQAPI::++ZDQ_TriggerMethodSet(%d, %d).", nIndex, nMethod);
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.TriggerMethodSet(nMethod); });
    ApiLog(L"ZDQAPI::--ZDQ_TriggerMethodSet(%d, nRet=%d).", nIndex, nRet);
    return nRet;
}

int ZDQ_TriggerMethodGet(int nIndex, int* pMethod) {
    ApiLog(L"ZDQAPI::++ZDQ_TriggerMethodGet(%d).", nIndex);
    int nMethod = 0;
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        nMethod = (device.Fpga().Shadows().WorkingMode & WORKINGMODE_TRIGGER_METHOD) >>
                  kWorkingModeTriggerMethodShift;
        SetOut(pMethod, nMethod);
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_TriggerMethodGet(%d, %d, nRet=%d).", nIndex, nMethod, nRet);
    return nRet;
}

int ZDQ_TriggerStatusGet(int nIndex, int* pStatus) {
    return LoggedDeviceCall(L"ZDQ_TriggerStatusGet", nIndex, [&](CDevice& device) {
        return device.Fpga().TriggerStatusGet(pStatus);
    });
}

int ZDQ_TriggerDelayGetRange(int nIndex, unsigned short* pMin, unsigned short* pMax) {
    return LoggedDeviceCall(L"ZDQ_TriggerDelayGetRange", nIndex, [&](CDevice& device) {
        return DelayRange(device, FpgaCap::bmSetTriggerDelay, pMin, pMax);
    });
}

int ZDQ_TriggerDelaySet(int nIndex, int nDelay) {
    return LoggedDeviceCall(L"ZDQ_TriggerDelaySet", nIndex,
                            [&](CDevice& device) { return device.TriggerDelaySet(nDelay); });
}

int ZDQ_TriggerDelayGet(int nIndex, unsigned short* pDelay) {
    return LoggedDeviceCall(L"ZDQ_TriggerDelayGet", nIndex, [&](CDevice& device) {
        SetOut(pDelay, device.Fpga().Shadows().wTriggerDelay);
        return RET_SUCCESS;
    });
}

int ZDQ_StrobeDelayGetRange(int nIndex, unsigned short* pMin, unsigned short* pMax) {
    return LoggedDeviceCall(L"ZDQ_StrobeDelayGetRange", nIndex, [&](CDevice& device) {
        return DelayRange(device, FpgaCap::bmStrobeDelay, pMin, pMax);
    });
}

int ZDQ_StrobeDelaySet(int nIndex, int nDelay) {
    return LoggedDeviceCall(L"ZDQ_StrobeDelaySet", nIndex,
                            [&](CDevice& device) { return device.StrobeDelaySet(nDelay); });
}

int ZDQ_StrobeDelayGet(int nIndex, unsigned short* pDelay) {
    return LoggedDeviceCall(L"ZDQ_StrobeDelayGet", nIndex, [&](CDevice& device) {
        SetOut(pDelay, device.Fpga().Shadows().wStrobeDelay);
        return RET_SUCCESS;
    });
}

int ZDQ_SetFixedFrameRate(int nIndex, bool bEnable, float fFps) {
    ApiLog(L"ZDQAPI::++ZDQ_SetFixedFrameRate(%d, %d, %0.2f).", nIndex, bEnable ? 1 : 0,
           static_cast<double>(fFps));
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.SetFixedFrameRate(fFps); });
    ApiLog(L"ZDQAPI::--ZDQ_SetFixedFrameRate.Ret(%d).", nRet);
    return nRet;
}

int ZDQ_SetFixedFrameRateEx(int nIndex, float fFps) {
    ApiLog(L"ZDQAPI::++ZDQ_SetFixedFrameRateEx(%d, %0.2f).", nIndex, static_cast<double>(fFps));
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.SetFixedFrameRate(fFps); });
    ApiLog(L"ZDQAPI::--ZDQ_SetFixedFrameRateEx(%d, nRet=%d).", nIndex, nRet);
    return nRet;
}

int ZDQ_GetFixedFrameRate(int nIndex, bool* pbEnabled, float* pFps) {
    return LoggedDeviceCall(L"ZDQ_GetFixedFrameRate", nIndex, [&](CDevice& device) {
        const int nRet = device.GetFixedFrameRate(pFps);
        SetOut(pbEnabled, nRet == RET_SUCCESS);
        return nRet;
    });
}

int ZDQ_GetFixedFrameRateEx(int nIndex, float* pFps) {
    return LoggedDeviceCall(L"ZDQ_GetFixedFrameRateEx", nIndex,
                            [&](CDevice& device) { return device.GetFixedFrameRate(pFps); });
}

int ZDQ_GetFixedFrameRateRang(int nIndex, float* pMin, float* pMax) {
    ApiLog(L"ZDQAPI::++ZDQ_GetFixedFrameRateRang(%d).", nIndex);
    const int nRet = WithDevice(nIndex, [&](CDevice& device) {
        device.GetFixedFrameRateRange(pMin, pMax);
        return RET_SUCCESS;
    });
    ApiLog(L"ZDQAPI::--ZDQ_GetFixedFrameRateRang.Ret(%d).", nRet);
    return nRet;
}

int ZDQ_TriggerSignalPeriodGetRange(int nIndex, float* pMin, float* pMax) {
    return LoggedDeviceCall(L"ZDQ_TriggerSignalPeriodGetRange", nIndex, [&](CDevice&) {
        SetOut(pMin, kMinSignalPeriod);
        SetOut(pMax, kMaxSignalPeriod);
        return RET_SUCCESS;
    });
}

int ZDQ_TriggerSignalPeriodSet(int nIndex, float fPeriod) {
    ApiLog(L"ZDQAPI::++ZDQ_TriggerSignalPeriodSet(%d).", nIndex);
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.TriggerSignalPeriodSet(fPeriod); });
    ApiLog(L"ZDQAPI::--ZDQ_TriggerSignalPeriodSet(%d). nRet = %d ", nIndex, nRet);
    return nRet;
}

int ZDQ_TriggerSignalPeriodGet(int nIndex, float* pPeriod) {
    return LoggedDeviceCall(L"ZDQ_TriggerSignalPeriodGet", nIndex, [&](CDevice& device) {
        return device.TriggerSignalPeriodGet(pPeriod);
    });
}

int ZDQ_StartEndModeSet(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_StartEndModeSet", nIndex,
                            [&](CDevice& device) { return device.StartEndModeSet(nMode); });
}

int ZDQ_StartEndModeGet(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_StartEndModeGet", nIndex,
                            [&](CDevice& device) { return device.StartEndModeGet(pMode); });
}

int ZDQ_CaptureStartDelaySet(int nIndex, int nDelay) {
    return LoggedDeviceCall(L"ZDQ_CaptureStartDelaySet", nIndex,
                            [&](CDevice& device) { return device.CaptureStartDelaySet(nDelay); });
}

int ZDQ_CaptureStartDelayGet(int nIndex, unsigned short* pDelay) {
    return LoggedDeviceCall(L"ZDQ_CaptureStartDelayGet", nIndex, [&](CDevice& device) {
        return device.CaptureStartRegisterGet(FPGAREG_CAP_XXX + 2, pDelay);
    });
}

int ZDQ_CaptureStartFilterSet(int nIndex, int nFilter) {
    return LoggedDeviceCall(L"ZDQ_CaptureStartFilterSet", nIndex,
                            [&](CDevice& device) { return device.CaptureStartFilterSet(nFilter); });
}

int ZDQ_CaptureStartFilterGet(int nIndex, unsigned short* pFilter) {
    return LoggedDeviceCall(L"ZDQ_CaptureStartFilterGet", nIndex, [&](CDevice& device) {
        return device.CaptureStartRegisterGet(FPGAREG_CAP_XXX + 1, pFilter);
    });
}

int ZDQ_CaptureMultiLineSet(int nIndex, int nLines) {
    return LoggedDeviceCall(L"ZDQ_CaptureMultiLineSet", nIndex,
                            [&](CDevice& device) { return device.CaptureMultiLineSet(nLines); });
}

int ZDQ_CaptureMultiLineGet(int nIndex, unsigned short* pLines) {
    return LoggedDeviceCall(L"ZDQ_CaptureMultiLineGet", nIndex, [&](CDevice& device) {
        return device.CaptureStartRegisterGet(FPGAREG_CAP_XXX + 3, pLines);
    });
}

// The three ranges are one operation.
static int CaptureStartRange(const wchar_t* pszName, int nIndex, unsigned short* pMin,
                             unsigned short* pMax) {
    return LoggedDeviceCall(pszName, nIndex, [&](CDevice& device) {
        return DelayRange(device, FpgaCap::bm3DRegisters, pMin, pMax);
    });
}

int ZDQ_CaptureStartDelayGetRange(int nIndex, unsigned short* pMin, unsigned short* pMax) {
    return CaptureStartRange(L"ZDQ_CaptureStartDelayGetRange", nIndex, pMin, pMax);
}

int ZDQ_CaptureStartFilterRange(int nIndex, unsigned short* pMin, unsigned short* pMax) {
    return CaptureStartRange(L"ZDQ_CaptureStartFilterRange", nIndex, pMin, pMax);
}

int ZDQ_CaptureMultiLineRange(int nIndex, unsigned short* pMin, unsigned short* pMax) {
    return CaptureStartRange(L"ZDQ_CaptureMultiLineRange", nIndex, pMin, pMax);
}

int ZDQ_CaptureSoftwareStart(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_CaptureSoftwareStart", nIndex,
                            [&](CDevice& device) { return device.CaptureSoftwareStart(); });
}

int ZDQ_SensorModeSet(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_SensorModeSet", nIndex,
                            [&](CDevice& device) { return device.SensorModeSet(nMode); });
}

int ZDQ_SensorModeGet(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_SensorModeGet", nIndex,
                            [&](CDevice& device) { return device.SensorModeGet(pMode); });
}
