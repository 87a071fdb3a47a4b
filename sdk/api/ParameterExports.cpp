// Exports of the camera parameters and the dedicated exposure, pre-exposure,
// global-reset, converter-resolution, 16-bit-data and capability exports.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "device/Parameters.h"

int ZDQ_GetParamRange(int nIndex, ZDQ_PARAM param, int* pMin, int* pMax) {
    ApiLog(L"ZDQAPI::++ZDQ_GetParamRange(%d, %ls, 0x%x, 0x%x)", nIndex, ParamName(param),
           LogPointer(pMin), LogPointer(pMax));
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.GetParamRange(param, pMin, pMax); });
}

int ZDQ_GetParam(int nIndex, ZDQ_PARAM param, int* pValue) {
    ApiLog(L"ZDQAPI::++ZDQ_GetParam(%d, %ls, 0x%x)", nIndex, ParamName(param), LogPointer(pValue));
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.GetParam(param, pValue); });
    ApiLog(L"ZDQAPI::--ZDQ_GetParam(%d, %ls, %d).Ret(%d)", nIndex, ParamName(param),
           pValue != nullptr ? *pValue : 0, nRet);
    return nRet;
}

int ZDQ_SetParam(int nIndex, ZDQ_PARAM param, int nValue) {
    ApiLog(L"ZDQAPI::++ZDQ_SetParam(%d, %ls, %d)", nIndex, ParamName(param), nValue);
    const int nRet =
        WithDevice(nIndex, [&](CDevice& device) { return device.SetParam(param, nValue); });
    ApiLog(L"ZDQAPI::--ZDQ_SetParam.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_ExposureTimeSet(int nIndex, float fMs) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SensorSetExposureTime(fMs); });
}

int ZDQ_ExposureTimeGet(int nIndex, float* pfMs) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return pfMs != nullptr ? device.SensorGetExposureTime(pfMs) : RET_PARAMERROR;
    });
}

int ZDQ_PreExposureRangeGet(int nIndex, int* pMin, int* pMax) {
    return WithDevice(
        nIndex, [&](CDevice& device) { return device.SensorPreExposureRangeGet(pMin, pMax); });
}

int ZDQ_PreExposureLinesSet(int nIndex, int nLines) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.SensorPreExposureLinesSet(nLines); });
}

int ZDQ_PreExposureLinesGet(int nIndex, int* pLines) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.SensorPreExposureLinesGet(pLines); });
}

int ZDQ_PreExposureTimeSet(int nIndex, float fMs) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.SensorPreExposureTimeSet(fMs); });
}

int ZDQ_PreExposureTimeGet(int nIndex, float* pfMs) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.SensorPreExposureTimeGet(pfMs); });
}

int ZDQ_GlobalResetShutterSet(int nIndex, bool bOn) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.GlobalResetShutterSet(bOn); });
}

int ZDQ_GlobalResetShutterGet(int nIndex, bool* pbOn) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.GlobalResetShutterGet(pbOn); });
}

int ZDQ_GetADCResolution(int nIndex, int* pBits) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pBits == nullptr) {
            return RET_PARAMERROR;
        }
        *pBits = static_cast<int>(device.Capability().Get(SensorCap::bmResolution));
        return RET_SUCCESS;
    });
}

int ZDQ_SetData16Bits(int nIndex, bool bOn) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.SetData16Bits(bOn); });
}

int ZDQ_GetData16Bits(int nIndex, bool* pbOn) {
    return WithDevice(nIndex, [&](CDevice& device) { return device.GetData16Bits(pbOn); });
}

int ZDQ_QueryFunction(int nIndex, int nFunction, int* pValue) {
    return WithDevice(nIndex,
                      [&](CDevice& device) { return device.QueryFunction(nFunction, pValue); });
}
