// Exports of the sensor's strobe (flash) output.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

int ZDQ_FlashEnableSet(int nIndex, int bEnable) {
    return LoggedDeviceCall(L"ZDQ_FlashEnableSet", nIndex, [&](CDevice& device) {
        return device.SensorFlashEnableSet(bEnable != 0);
    });
}

int ZDQ_FlashEnableGet(int nIndex, unsigned char* pbEnable) {
    return LoggedDeviceCall(L"ZDQ_FlashEnableGet", nIndex, [&](CDevice& device) {
        bool bOn = false;
        const int nRet = device.SensorFlashEnableGet(&bOn);
        SetOut(pbEnable, bOn);
        return nRet;
    });
}

int ZDQ_FlashInvertSet(int nIndex, int bInvert) {
    return LoggedDeviceCall(L"ZDQ_FlashInvertSet", nIndex, [&](CDevice& device) {
        return device.SensorFlashInvertSet(bInvert != 0);
    });
}

int ZDQ_FlashInvertGet(int nIndex, unsigned char* pbInvert) {
    return LoggedDeviceCall(L"ZDQ_FlashInvertGet", nIndex, [&](CDevice& device) {
        bool bInvert = false;
        const int nRet = device.SensorFlashInvertGet(&bInvert);
        SetOut(pbInvert, bInvert);
        return nRet;
    });
}

int ZDQ_FlashSetMode(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_FlashSetMode", nIndex,
                            [&](CDevice& device) { return device.SensorFlashSetMode(nMode); });
}

int ZDQ_FlashGetMode(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_FlashGetMode", nIndex,
                            [&](CDevice& device) { return device.SensorFlashGetMode(pMode); });
}

int ZDQ_FlashControlSet(int nIndex, int bEnable, int bInvert, int nMode) {
    return LoggedDeviceCall(L"ZDQ_FlashControlSet", nIndex, [&](CDevice& device) {
        const int nRet = device.SensorFlashEnableSet(bEnable != 0);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        // Polarity and mode are offered by some sensors only; what they
        // answer does not change the result.
        device.SensorFlashInvertSet(bInvert != 0);
        device.SensorFlashSetMode(nMode);
        return RET_SUCCESS;
    });
}

int ZDQ_FlashControlGet(int nIndex, unsigned char* pbEnable, unsigned char* pbInvert, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_FlashControlGet", nIndex, [&](CDevice& device) {
        bool bOn = false;
        bool bInvert = false;
        const int nRet = device.SensorFlashControlGet(&bOn, &bInvert, pMode);
        SetOut(pbEnable, bOn);
        SetOut(pbInvert, bInvert);
        return nRet;
    });
}
