// Exports of the 3D laser-profile family: initialisation, the callbacks, the
// 3D ROI, exposure and gain, start and data triggers, the profile count,
// acquisition, the processing settings and the PCD helper.
#include <cmath>

#include "ZDQApi.h"
#include "acquisition/PointCloudFile.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"
#include "common/Saturate.h"

namespace {

// Trigger modes of the FPGA the data trigger maps to.
constexpr int kTriggerFreeRun = 0;
constexpr int kTriggerExternal = 1;
constexpr int kTriggerFixedRate = 3;
// Trigger methods of the external trigger's edge.
constexpr int kMethodRisingEdge = 1;
constexpr int kMethodFallingEdge = 0;
constexpr int kMaxProfiles = 65535;
// Start/end modes of the start trigger: off, rising edge, falling edge.
constexpr int kStartOff = 0;
constexpr int kStartRising = 1;
constexpr int kStartFalling = 2;

// The export's lines around a device call: "ZDQAPI::++<name>(<arguments>)."
// on entry and "ZDQAPI::--<name>, nRet=<result>" on exit.
template <typename Operation, typename... Args>
int Logged3D(const wchar_t* pszName, const wchar_t* pszEntry, int nIndex, Operation&& operation,
             Args... args) {
    ApiLog(pszEntry, nIndex, args...);
    const int nRet = WithDevice(nIndex, operation);
    ApiLog(L"ZDQAPI::--%ls, nRet=%d", pszName, nRet);
    return nRet;
}

// The same lines around a call of another export.
template <typename Call, typename... Args>
int LoggedCall(const wchar_t* pszName, const wchar_t* pszEntry, Call&& call, Args... args) {
    ApiLog(pszEntry, args...);
    const int nRet = call();
    ApiLog(L"ZDQAPI::--%ls, nRet=%d", pszName, nRet);
    return nRet;
}

// A setting that changes the frame stream: refused while acquiring.
template <typename Operation>
int Unless3DAcquiring(CDevice& device, Operation&& operation) {
    return device.Acquiring3D() ? RET_ILLEGALOPERATION : operation();
}

// A setting of a camera in 3D mode.
template <typename Operation>
int In3D(CDevice& device, Operation&& operation) {
    return device.Is3D() ? operation() : RET_3DNOTINIT;
}

int RoundedToInt(float fValue) {
    return SaturatedCast<int>(std::floor(static_cast<double>(fValue) + 0.5));
}

}  // namespace

int ZDQ3D_Inital(void) {
    ApiLog(L"ZDQAPI::++ZDQ3D_Inital.");
    int nRet = RET_FAIL;
    if (ZDQ_Init() == RET_SUCCESS && g_pDeviceManager != nullptr) {
        for (int i = 0; i < g_pDeviceManager->DeviceCount(); ++i) {
            if (WithDevice(i, [](CDevice& device) { return device.Init3D(); }) == RET_SUCCESS) {
                nRet = RET_SUCCESS;
            }
        }
    }
    ApiLog(L"ZDQAPI::--ZDQ3D_Inital, nRet=%d", nRet);
    return nRet;
}

int ZDQ3D_UnInitial(void) {
    ApiLog(L"ZDQAPI::++ZDQ3D_UnInitial.");
    g_pDeviceManager.reset();
    ApiLog(L"ZDQAPI::--ZDQ3D_UnInitial. Ret(%d)", RET_SUCCESS);
    return RET_SUCCESS;
}

int ZDQ3D_GetAPIVersion(int* pMajor, int* pMinor, int* pRevision, int* pBuild) {
    return LoggedCall(L"ZDQ3D_GetAPIVersion", L"ZDQAPI::++ZDQ3D_GetAPIVersion.",
                      [&] { return ZDQ_GetVersion(pMajor, pMinor, pRevision, pBuild); });
}

int ZDQ3D_GetDeviceCount(int* pnCount) {
    return LoggedCall(L"ZDQ3D_GetDeviceCount", L"ZDQAPI::++ZDQ3D_GetDeviceCount.", [&] {
        if (pnCount != nullptr) {
            *pnCount = ZDQ_DeviceGetCount();
        }
        return RET_SUCCESS;
    });
}

int ZDQ3D_GetDeviceInformation(int nIndex, int* pType, int* pSerial, unsigned short* pFirmware) {
    return LoggedCall(
        L"ZDQ3D_GetDeviceInformation", L"ZDQAPI::++ZDQ3D_GetDeviceInformation(%d).",
        [&] { return ZDQ_DeviceGetInformation(nIndex, pType, pSerial, pFirmware); }, nIndex);
}

int ZDQ3D_Is3DCamera(int nIndex, bool* pbIs3D) {
    return Logged3D(L"ZDQ3D_Is3DCamera", L"ZDQAPI::++ZDQ3D_Is3DCamera(%d).", nIndex,
                    [&](CDevice& device) {
                        SetOut(pbIs3D, device.Is3D());
                        return RET_SUCCESS;
                    });
}

namespace {

// Stores a callback and its context, not while acquiring.
template <typename Callback>
int Register3D(const wchar_t* pszName, const wchar_t* pszEntry, int nIndex, Callback pfCallback,
               void* pContext, Callback Laser3DCallbacks::*pfField,
               void* Laser3DCallbacks::*pContextField) {
    return Logged3D(
        pszName, pszEntry, nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                Laser3DCallbacks& callbacks = device.State3D().callbacks;
                callbacks.*pfField = pfCallback;
                callbacks.*pContextField = pContext;
                return RET_SUCCESS;
            });
        },
        LogPointer(reinterpret_cast<const void*>(pfCallback)), LogPointer(pContext));
}

}  // namespace

int ZDQ3D_RegisterLiveImageCB(int nIndex, ZDQ3DImageCallback pfCallback, void* pContext) {
    return Register3D(L"ZDQ3D_RegisterLiveImageCB",
                      L"ZDQAPI::++ZDQ3D_RegisterLiveImageCB(%d, 0x%x, 0x%x).", nIndex, pfCallback,
                      pContext, &Laser3DCallbacks::pfLiveImage,
                      &Laser3DCallbacks::pLiveImageContext);
}

int ZDQ3D_RegisterProfileDataCB(int nIndex, ZDQ3DProfileDataCallback pfCallback, void* pContext) {
    return Register3D(L"ZDQ3D_RegisterProfileDataCB",
                      L"ZDQAPI::++ZDQ3D_RegisterProfileDataCB(%d, 0x%x, 0x%x).", nIndex, pfCallback,
                      pContext, &Laser3DCallbacks::pfProfileData,
                      &Laser3DCallbacks::pProfileDataContext);
}

int ZDQ3D_RegisterProfileImageCB(int nIndex, ZDQ3DImageCallback pfCallback, void* pContext) {
    return Register3D(L"ZDQ3D_RegisterProfileImageCB",
                      L"ZDQAPI::++ZDQ3D_RegisterProfileImageCB(%d, 0x%x, 0x%x).", nIndex,
                      pfCallback, pContext, &Laser3DCallbacks::pfProfileImage,
                      &Laser3DCallbacks::pProfileImageContext);
}

int ZDQ3D_RegisterPointCloudDataCB(int nIndex, ZDQ3DPointCloudDataCallback pfCallback,
                                   void* pContext) {
    return Register3D(L"ZDQ3D_RegisterPointCloudDataCB",
                      L"ZDQAPI::++ZDQ3D_RegisterPointCloudDataCB(%d, 0x%x, 0x%x).", nIndex,
                      pfCallback, pContext, &Laser3DCallbacks::pfPointCloudData,
                      &Laser3DCallbacks::pPointCloudDataContext);
}

int ZDQ3D_RegisterPointCloudImageCB(int nIndex, ZDQ3DImageCallback pfCallback, void* pContext) {
    return Register3D(L"ZDQ3D_RegisterPointCloudImageCB",
                      L"ZDQAPI::++ZDQ3D_RegisterPointCloudImageCB(%d, 0x%x, 0x%x).", nIndex,
                      pfCallback, pContext, &Laser3DCallbacks::pfPointCloudImage,
                      &Laser3DCallbacks::pPointCloudImageContext);
}

int ZDQ3D_GetRoiMax(int nIndex, int* pnWidth, int* pnHeight) {
    return Logged3D(L"ZDQ3D_GetRoiMax", L"ZDQAPI::++ZDQ3D_GetRoiMax(%d).", nIndex,
                    [&](CDevice& device) { return device.Get3DRoiMax(pnWidth, pnHeight); });
}

int ZDQ3D_SetRoi(int nIndex, int nX, int nY, int nWidth, int nHeight) {
    return Logged3D(
        L"ZDQ3D_SetRoi", L"ZDQAPI::++ZDQ3D_SetRoi(%d, %d, %d, %d, %d).", nIndex,
        [&](CDevice& device) { return device.Set3DRoi(nX, nY, nWidth, nHeight); }, nX, nY, nWidth,
        nHeight);
}

int ZDQ3D_GetRoi(int nIndex, int* pnX, int* pnY, int* pnWidth, int* pnHeight) {
    return Logged3D(L"ZDQ3D_GetRoi", L"ZDQAPI::++ZDQ3D_GetRoi(%d).", nIndex,
                    [&](CDevice& device) { return device.Get3DRoi(pnX, pnY, pnWidth, pnHeight); });
}

int ZDQ3D_GetExposureTimeRange(int nIndex, float* pfMin, float* pfMax) {
    return Logged3D(
        L"ZDQ3D_GetExposureTimeRange", L"ZDQAPI::++ZDQ3D_GetExposureTimeRange(%d).", nIndex,
        [&](CDevice& device) { return device.SensorGetExposureTimeRange(pfMin, pfMax); });
}

int ZDQ3D_SetExposureTime(int nIndex, float fMs) {
    return LoggedCall(
        L"ZDQ3D_SetExposureTime", L"ZDQAPI::++ZDQ3D_SetExposureTime(%d, %.3f).",
        [&] { return ZDQ_ExposureTimeSet(nIndex, fMs); }, nIndex, static_cast<double>(fMs));
}

int ZDQ3D_GetExposureTime(int nIndex, float* pfMs) {
    return LoggedCall(
        L"ZDQ3D_GetExposureTime", L"ZDQAPI::++ZDQ3D_GetExposureTime(%d).",
        [&] { return ZDQ_ExposureTimeGet(nIndex, pfMs); }, nIndex);
}

int ZDQ3D_GetGainRange(int nIndex, int* pnMin, int* pnMax) {
    return LoggedCall(
        L"ZDQ3D_GetGainRange", L"ZDQAPI::++ZDQ3D_GetGainRange(%d).",
        [&] { return ZDQ_GetParamRange(nIndex, ZDQ_RED, pnMin, pnMax); }, nIndex);
}

int ZDQ3D_SetGain(int nIndex, int nGain) {
    return LoggedCall(
        L"ZDQ3D_SetGain", L"ZDQAPI::++ZDQ3D_SetGain(%d, %d).",
        [&] { return ZDQ_SetParam(nIndex, ZDQ_RED, nGain); }, nIndex, nGain);
}

int ZDQ3D_GetGain(int nIndex, int* pnGain) {
    return LoggedCall(
        L"ZDQ3D_GetGain", L"ZDQAPI::++ZDQ3D_GetGain(%d).",
        [&] { return ZDQ_GetParam(nIndex, ZDQ_RED, pnGain); }, nIndex);
}

int ZDQ3D_SetStartTrigger(int nIndex, int nReserved, bool bEnable, int nEdge) {
    return Logged3D(
        L"ZDQ3D_SetStartTrigger", L"ZDQAPI::++ZDQ3D_SetStartTrigger(%d, %d, %d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                if (!bEnable) {
                    return device.StartEndModeSet(kStartOff);
                }
                if (nEdge == 0 || nEdge == 1) {
                    return device.StartEndModeSet(nEdge == 0 ? kStartRising : kStartFalling);
                }
                return RET_SUCCESS;  // an unknown edge changes nothing
            });
        },
        nReserved, bEnable ? 1 : 0, nEdge);
}

int ZDQ3D_GetStartTrigger(int nIndex, int* pnReserved, bool* pbOff, int* pnEdge) {
    return Logged3D(L"ZDQ3D_GetStartTrigger", L"ZDQAPI::++ZDQ3D_GetStartTrigger(%d).", nIndex,
                    [&](CDevice& device) {
                        int nMode = 0;
                        const int nRet = device.StartEndModeGet(&nMode);
                        if (nRet != RET_SUCCESS) {
                            return nRet;
                        }
                        SetOut(pnReserved, 0);
                        SetOut(pbOff, nMode == kStartOff);
                        SetOut(pnEdge, nMode == 1 || nMode == 3 ? 0 : 1);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_SetStartTriggerParameters(int nIndex, int nFilter, int nDelay) {
    return Logged3D(
        L"ZDQ3D_SetStartTriggerParameters",
        L"ZDQAPI::++ZDQ3D_SetStartTriggerParameters(%d, %d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                const bool bFilter = device.CaptureStartFilterSet(nFilter) == RET_SUCCESS;
                const bool bDelay = device.CaptureStartDelaySet(nDelay) == RET_SUCCESS;
                return bFilter && bDelay ? RET_SUCCESS : RET_FAIL;
            });
        },
        nFilter, nDelay);
}

int ZDQ3D_GetStartTriggerParameters(int nIndex, int* pnFilter, int* pnDelay) {
    return Logged3D(
        L"ZDQ3D_GetStartTriggerParameters", L"ZDQAPI::++ZDQ3D_GetStartTriggerParameters(%d).",
        nIndex, [&](CDevice& device) {
            uint16_t wFilter = 0;
            uint16_t wDelay = 0;
            const bool bFilter =
                pnFilter == nullptr ||
                device.CaptureStartRegisterGet(FPGAREG_CAP_XXX + 1, &wFilter) == RET_SUCCESS;
            const bool bDelay =
                pnDelay == nullptr ||
                device.CaptureStartRegisterGet(FPGAREG_CAP_XXX + 2, &wDelay) == RET_SUCCESS;
            if (!bFilter || !bDelay) {
                return RET_FAIL;
            }
            SetOut(pnFilter, wFilter);
            SetOut(pnDelay, wDelay);
            return RET_SUCCESS;
        });
}

int ZDQ3D_SetDataTriggerMode(int nIndex, int nMode) {
    return Logged3D(
        L"ZDQ3D_SetDataTriggerMode", L"ZDQAPI::++ZDQ3D_SetDataTriggerMode(%d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                switch (nMode) {
                    case 0:
                        return device.TriggerModeSet(kTriggerFreeRun);
                    case 2:
                        return device.TriggerModeSet(kTriggerExternal);
                    case 1:
                        if (!device.Capability().Has(FpgaCap::bmTriggerModeFixedFrameRate)) {
                            return RET_NOTSUPPORT;
                        }
                        return device.TriggerModeSet(kTriggerFixedRate);
                    default:
                        return RET_FAIL;
                }
            });
        },
        nMode);
}

int ZDQ3D_GetDataTriggerMode(int nIndex, int* pnMode) {
    return Logged3D(
        L"ZDQ3D_GetDataTriggerMode", L"ZDQAPI::++ZDQ3D_GetDataTriggerMode(%d).", nIndex,
        [&](CDevice& device) {
            if (pnMode == nullptr) {
                return RET_SUCCESS;
            }
            int nTrigger = 0;
            device.TriggerModeGet(&nTrigger);
            *pnMode = nTrigger == kTriggerFixedRate ? 1 : nTrigger == kTriggerFreeRun ? 0 : 2;
            return RET_SUCCESS;
        });
}

int ZDQ3D_SetDataTriggerInternalFrequency(int nIndex, int nHz) {
    return Logged3D(
        L"ZDQ3D_SetDataTriggerInternalFrequency",
        L"ZDQAPI::++ZDQ3D_SetDataTriggerInternalFrequency(%d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(
                device, [&] { return device.SetFixedFrameRate(static_cast<float>(nHz)); });
        },
        nHz);
}

int ZDQ3D_GetDataTriggerInternalFrequency(int nIndex, int* pnHz) {
    return Logged3D(L"ZDQ3D_GetDataTriggerInternalFrequency",
                    L"ZDQAPI::++ZDQ3D_GetDataTriggerInternalFrequency(%d).", nIndex,
                    [&](CDevice& device) {
                        float fFps = 0.0f;
                        const int nRet = device.GetFixedFrameRate(&fFps);
                        SetOut(pnHz, RoundedToInt(fFps));
                        return nRet;
                    });
}

int ZDQ3D_SetDataTriggerExternalTriggerParameters(int nIndex, int nPeriod, int nDelay, int nFilter,
                                                  int nEdge) {
    return Logged3D(
        L"ZDQ3D_SetDataTriggerExternalTriggerParameters",
        L"ZDQAPI::++ZDQ3D_SetDataTriggerExternalTriggerParameters(%d, %d, %d, %d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                const bool bPeriod =
                    device.TriggerSignalPeriodSet(static_cast<float>(nPeriod)) == RET_SUCCESS;
                const bool bDelay = device.TriggerDelaySet(nDelay) == RET_SUCCESS;
                const bool bFilter =
                    device.Gpio().FilterSet(static_cast<uint16_t>(nFilter)) == RET_SUCCESS;
                if (!bPeriod || !bDelay || !bFilter) {
                    return RET_FAIL;
                }
                if (nEdge == 0 || nEdge == 1) {
                    const int nMethod = nEdge == 0 ? kMethodRisingEdge : kMethodFallingEdge;
                    if (device.TriggerMethodSet(nMethod) != RET_SUCCESS) {
                        return RET_FAIL;
                    }
                }
                return RET_SUCCESS;
            });
        },
        nPeriod, nDelay, nFilter, nEdge);
}

int ZDQ3D_GetDataTriggerExternalTriggerParameters(int nIndex, int* pnPeriod, int* pnDelay,
                                                  int* pnFilter, int* pnEdge) {
    return Logged3D(L"ZDQ3D_GetDataTriggerExternalTriggerParameters",
                    L"ZDQAPI::++ZDQ3D_GetDataTriggerExternalTriggerParameters(%d).", nIndex,
                    [&](CDevice& device) {
                        float fPeriod = 0.0f;
                        device.TriggerSignalPeriodGet(&fPeriod);
                        uint16_t wFilter = 0;
                        device.Gpio().FilterGet(&wFilter);
                        const FpgaRelateRegValue& shadows = device.Fpga().Shadows();
                        const int nMethod = (shadows.WorkingMode & WORKINGMODE_TRIGGER_METHOD) >>
                                            kWorkingModeTriggerMethodShift;
                        SetOut(pnPeriod, RoundedToInt(fPeriod));
                        SetOut(pnDelay, shadows.wTriggerDelay);
                        SetOut(pnFilter, wFilter);
                        SetOut(pnEdge, nMethod != kMethodRisingEdge ? 1 : 0);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_SetMaxNumberOfProfilesToCapture(int nIndex, int nProfiles) {
    return Logged3D(
        L"ZDQ3D_SetMaxNumberOfProfilesToCapture",
        L"ZDQAPI::++ZDQ3D_SetMaxNumberOfProfilesToCapture(%d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                if (nProfiles < 1 || nProfiles > kMaxProfiles) {
                    return RET_PARAMERROR;
                }
                const int nRet = device.CaptureMultiLineSet(nProfiles);
                if (nRet == RET_SUCCESS) {
                    uint16_t wLines = 0;
                    device.CaptureStartRegisterGet(FPGAREG_CAP_XXX + 3, &wLines);
                    device.State3D().nProfiles = wLines;
                }
                return nRet;
            });
        },
        nProfiles);
}

int ZDQ3D_GetMaxNumberOfProfilesToCapture(int nIndex, int* pnProfiles) {
    return Logged3D(L"ZDQ3D_GetMaxNumberOfProfilesToCapture",
                    L"ZDQAPI::++ZDQ3D_GetMaxNumberOfProfilesToCapture(%d).", nIndex,
                    [&](CDevice& device) {
                        SetOut(pnProfiles, device.State3D().nProfiles);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_StartAcquisition(int nIndex) {
    return Logged3D(
        L"ZDQ3D_StartAcquisition", L"ZDQAPI::++ZDQ3D_StartAcquisition(%d).", nIndex,
        [&](CDevice& device) { return In3D(device, [&] { return device.StartAcquisition3D(); }); });
}

int ZDQ3D_StopAcquisition(int nIndex) {
    return Logged3D(L"ZDQ3D_StopAcquisition", L"ZDQAPI::++ZDQ3D_StopAcquisition(%d).", nIndex,
                    [&](CDevice& device) { return device.StopAcquisition3D(); });
}

int ZDQ3D_SetObliterateInvalidData(int nIndex, bool bOn) {
    return Logged3D(
        L"ZDQ3D_SetObliterateInvalidData", L"ZDQAPI::++ZDQ3D_SetObliterateInvalidData(%d, %d).",
        nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                device.State3D().bObliterate = bOn;
                return RET_SUCCESS;
            });
        },
        bOn ? 1 : 0);
}

int ZDQ3D_GetObliterateInvalidData(int nIndex, bool* pbOn) {
    return Logged3D(L"ZDQ3D_GetObliterateInvalidData",
                    L"ZDQAPI::++ZDQ3D_GetObliterateInvalidData(%d).", nIndex, [&](CDevice& device) {
                        SetOut(pbOn, device.State3D().bObliterate.load());
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_Set3DLaserLineBrightnessThreshold(int nIndex, int nThreshold) {
    return Logged3D(
        L"ZDQ3D_Set3DLaserLineBrightnessThreshold",
        L"ZDQAPI::++ZDQ3D_Set3DLaserLineBrightnessThreshold(%d, %d).", nIndex,
        [&](CDevice& device) {
            return Unless3DAcquiring(device, [&] {
                device.State3D().nThreshold = nThreshold;
                return RET_SUCCESS;
            });
        },
        nThreshold);
}

int ZDQ3D_Get3DLaserLineBrightnessThreshold(int nIndex, int* pnThreshold) {
    return Logged3D(L"ZDQ3D_Get3DLaserLineBrightnessThreshold",
                    L"ZDQAPI::++ZDQ3D_Get3DLaserLineBrightnessThreshold(%d).", nIndex,
                    [&](CDevice& device) {
                        SetOut(pnThreshold, device.State3D().nThreshold);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_LaserModeSet(int nIndex, int nMode) {
    return Logged3D(
        L"ZDQ3D_LaserModeSet", L"ZDQAPI::++ZDQ3D_LaserModeSet(%d, %d).", nIndex,
        [&](CDevice& device) { return device.LaserModeSet(nMode); }, nMode);
}

int ZDQ3D_LaserModeGet(int nIndex, int* pnMode) {
    return Logged3D(L"ZDQ3D_LaserModeGet", L"ZDQAPI::++ZDQ3D_LaserModeGet(%d).", nIndex,
                    [&](CDevice& device) {
                        SetOut(pnMode, device.State3D().nLaserMode);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_GetMeasurementRange(int nIndex, float* pfXFrom, float* pfXTo, float* pfZFrom,
                              float* pfZTo) {
    return Logged3D(L"ZDQ3D_GetMeasurementRange", L"ZDQAPI::++ZDQ3D_GetMeasurementRange(%d).",
                    nIndex, [&](CDevice& device) {
                        return device.Get3DMeasurementRange(pfXFrom, pfXTo, pfZFrom, pfZTo);
                    });
}

int ZDQ3D_SetZMap(int nIndex, float fMin, float fMax) {
    return Logged3D(
        L"ZDQ3D_SetZMap", L"ZDQAPI::++ZDQ3D_SetZMap(%d, %f, %f).", nIndex,
        [&](CDevice& device) {
            // An empty or undefined range maps nothing: refused.
            if (!(fMin < fMax)) {
                return RET_PARAMERROR;
            }
            return Unless3DAcquiring(device, [&] {
                device.State3D().fZMin = fMin;
                device.State3D().fZMax = fMax;
                return RET_SUCCESS;
            });
        },
        static_cast<double>(fMin), static_cast<double>(fMax));
}

int ZDQ3D_GetZMap(int nIndex, float* pfMin, float* pfMax) {
    return Logged3D(L"ZDQ3D_GetZMap", L"ZDQAPI::++ZDQ3D_GetZMap(%d).", nIndex,
                    [&](CDevice& device) {
                        SetOut(pfMin, device.State3D().fZMin);
                        SetOut(pfMax, device.State3D().fZMax);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_SetYResolution(int nIndex, float fResolution) {
    return Logged3D(
        L"ZDQ3D_SetYResolution", L"ZDQAPI::++ZDQ3D_SetYResolution(%d, %f).", nIndex,
        [&](CDevice& device) {
            if (!(fResolution > 0.0f) || !std::isfinite(fResolution)) {
                return RET_PARAMERROR;
            }
            return Unless3DAcquiring(device, [&] {
                device.State3D().fYResolution = fResolution;
                return RET_SUCCESS;
            });
        },
        static_cast<double>(fResolution));
}

int ZDQ3D_GetYResolution(int nIndex, float* pfResolution) {
    return Logged3D(L"ZDQ3D_GetYResolution", L"ZDQAPI::++ZDQ3D_GetYResolution(%d).", nIndex,
                    [&](CDevice& device) {
                        SetOut(pfResolution, device.State3D().fYResolution);
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_GetTransmissionRate(int nIndex, float* pfRate) {
    return Logged3D(L"ZDQ3D_GetTransmissionRate", L"ZDQAPI::++ZDQ3D_GetTransmissionRate(%d).",
                    nIndex, [&](CDevice& device) {
                        SetOut(pfRate, device.State3D().fTransmissionRate.load());
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_GetExternalTriggerRate(int nIndex, float* pfRate) {
    return Logged3D(L"ZDQ3D_GetExternalTriggerRate", L"ZDQAPI::++ZDQ3D_GetExternalTriggerRate(%d).",
                    nIndex, [&](CDevice& device) {
                        SetOut(pfRate, device.State3D().fTriggerRate.load());
                        return RET_SUCCESS;
                    });
}

int ZDQ3D_HelperSaveToPCD(int nWidth, int nHeight, float* pX, float* pY, float* pZ,
                          const wchar_t* pszFile) {
    ApiLog(L"ZDQAPI::++ZDQ3D_HelperSaveToPCD(%d, %d).", nWidth, nHeight);
    const int nRet = CallGuarded(
        [&] { return SavePointCloudPcd(nWidth, nHeight, pX, pY, pZ, pszFile); }, RET_FAIL);
    if (nRet == RET_PARAMERROR) {
        ApiLog(L"ZDQAPI::--ZDQ3D_HelperSaveToPCD: Params Error!");
    } else if (nRet != RET_SUCCESS) {
        ApiLog(L"ZDQAPI::--ZDQ3D_HelperSaveToPCD: File Create Failed!");
    } else {
        ApiLog(L"ZDQAPI::--ZDQ3D_HelperSaveToPCD, nRet=%d", nRet);
    }
    return nRet;
}
