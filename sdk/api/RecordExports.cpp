// Exports of the AVI recording.
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/OutParam.h"

int ZDQ_RecordStart(int nIndex, bool bStart, float fRate, const wchar_t* pszFileName) {
    return LoggedDeviceCall(L"ZDQ_RecordStart", nIndex, [&](CDevice& device) {
        return bStart
                   ? device.RecordStartPreview(fRate, pszFileName, CAviRecording::Options::Dialog)
                   : device.RecordStop();
    });
}

int ZDQ_RecordStartEx(int nIndex, bool bStart, float fRate, const wchar_t* pszFileName,
                      bool bDialog) {
    return LoggedDeviceCall(L"ZDQ_RecordStartEx", nIndex, [&](CDevice& device) {
        return bStart ? device.RecordStartPreview(fRate, pszFileName,
                                                  bDialog ? CAviRecording::Options::Dialog
                                                          : CAviRecording::Options::Registry)
                      : device.RecordStop();
    });
}

int ZDQ_RecordStartExEx(int nIndex, bool bStart, float fRate, int nWidth, int nHeight,
                        int nBitCount, const wchar_t* pszFileName, bool bDialog) {
    return LoggedDeviceCall(L"ZDQ_RecordStartExEx", nIndex, [&](CDevice& device) {
        return bStart ? device.RecordStartExplicit(fRate, nWidth, nHeight, nBitCount, pszFileName,
                                                   bDialog)
                      : device.RecordStop();
    });
}

int ZDQ_RecordAddOneFrame(int nIndex, const void* pData, int nPosition, int nWidth, int nHeight,
                          int nBitCount) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return device.RecordAddOneFrame(pData, nPosition, nWidth, nHeight, nBitCount);
    });
}

int ZDQ_RecordStatusGet(int nIndex, bool* pbRecording) {
    return WithDevice(nIndex, [&](CDevice& device) {
        SetOut(pbRecording, device.Recording());
        return RET_SUCCESS;
    });
}
