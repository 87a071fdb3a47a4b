// Exports of the frame watermark.
#include "ZDQApi.h"
#include "api/ExportFrame.h"

int ZDQ_WaterMarkSetEnable(int nIndex, int bEnable) {
    return LoggedDeviceCall(L"ZDQ_WaterMarkSetEnable", nIndex, [&](CDevice& device) {
        return device.Fpga().WaterMarkSetEnable(bEnable);
    });
}

int ZDQ_WaterMarkSetMode(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_WaterMarkSetMode", nIndex,
                            [&](CDevice& device) { return device.Fpga().WaterMarkSetMode(nMode); });
}

int ZDQ_WaterMarkGetEnable(int nIndex, unsigned char* pbEnable) {
    return LoggedDeviceCall(L"ZDQ_WaterMarkGetEnable", nIndex, [&](CDevice& device) {
        return device.Fpga().WaterMarkGetEnable(pbEnable);
    });
}

int ZDQ_WaterMarkGetMode(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_WaterMarkGetMode", nIndex,
                            [&](CDevice& device) { return device.Fpga().WaterMarkGetMode(pMode); });
}

int ZDQ_WaterMarkGetInfo(int nIndex, unsigned short* pNumber, int* pValue2, int* pValue3) {
    return LoggedDeviceCall(L"ZDQ_WaterMarkGetInfo", nIndex, [&](CDevice& device) {
        return device.Fpga().WaterMarkGetInfo(pNumber, pValue2, pValue3);
    });
}

int ZDQ_WaterMarkGetInfoEx(int nIndex, int* pNumber, int* pValue2, int* pValue3, int* pValue4,
                           unsigned short* pValue5) {
    return LoggedDeviceCall(L"ZDQ_WaterMarkGetInfoEx", nIndex, [&](CDevice& device) {
        return device.Fpga().WaterMarkGetInfoEx(pNumber, pValue2, pValue3, pValue4, pValue5);
    });
}
