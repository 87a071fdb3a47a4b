// Exports of the general-purpose I/O and the snap button.
#include "ZDQApi.h"
#include "api/ExportFrame.h"

int ZDQ_GpioSetDirection(int nIndex, int nDirection) {
    return LoggedDeviceCall(L"ZDQ_GpioSetDirection", nIndex, [&](CDevice& device) {
        return device.Gpio().SetDirection(nDirection);
    });
}

int ZDQ_GpioGetDirection(int nIndex, unsigned char* pDirection) {
    return LoggedDeviceCall(L"ZDQ_GpioGetDirection", nIndex, [&](CDevice& device) {
        return device.Gpio().GetDirection(pDirection);
    });
}

int ZDQ_GpioSetStatus(int nIndex, int nStatus) {
    return LoggedDeviceCall(L"ZDQ_GpioSetStatus", nIndex,
                            [&](CDevice& device) { return device.Gpio().SetStatus(nStatus); });
}

int ZDQ_GpioGetStatus(int nIndex, unsigned char* pStatus) {
    return LoggedDeviceCall(L"ZDQ_GpioGetStatus", nIndex,
                            [&](CDevice& device) { return device.Gpio().GetStatus(pStatus); });
}

int ZDQ_GpioInModeSet(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_GpioInModeSet", nIndex,
                            [&](CDevice& device) { return device.Gpio().InModeSet(nMode); });
}

int ZDQ_GpioInModeGet(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_GpioInModeGet", nIndex,
                            [&](CDevice& device) { return device.Gpio().InModeGet(pMode); });
}

int ZDQ_GpioOutModeSet(int nIndex, int nMode) {
    return LoggedDeviceCall(L"ZDQ_GpioOutModeSet", nIndex,
                            [&](CDevice& device) { return device.Gpio().OutModeSet(nMode); });
}

int ZDQ_GpioOutModeGet(int nIndex, int* pMode) {
    return LoggedDeviceCall(L"ZDQ_GpioOutModeGet", nIndex,
                            [&](CDevice& device) { return device.Gpio().OutModeGet(pMode); });
}

int ZDQ_GpioOutStatusSet(int nIndex, int nLevel) {
    return LoggedDeviceCall(L"ZDQ_GpioOutStatusSet", nIndex,
                            [&](CDevice& device) { return device.Gpio().OutStatusSet(nLevel); });
}

int ZDQ_GpioInStatusGet(int nIndex, unsigned char* pStatus) {
    return LoggedDeviceCall(L"ZDQ_GpioInStatusGet", nIndex,
                            [&](CDevice& device) { return device.Gpio().InStatusGet(pStatus); });
}

int ZDQ_GpioFilterSet(int nIndex, unsigned short wValue) {
    return LoggedDeviceCall(L"ZDQ_GpioFilterSet", nIndex,
                            [&](CDevice& device) { return device.Gpio().FilterSet(wValue); });
}

int ZDQ_GpioFilterGet(int nIndex, unsigned short* pValue) {
    return LoggedDeviceCall(L"ZDQ_GpioFilterGet", nIndex,
                            [&](CDevice& device) { return device.Gpio().FilterGet(pValue); });
}

int ZDQ_SnapButtonStatus(int nIndex, int* pPressed) {
    return LoggedDeviceCall(L"ZDQ_SnapButtonStatus", nIndex, [&](CDevice& device) {
        return device.Gpio().SnapButtonStatus(pPressed);
    });
}
