// Exports of the driver link: they act on a camera already in its slot.
#include "ZDQApi.h"
#include "api/ExportFrame.h"

int ZDQ_Open(int nIndex) {
    return LoggedSlotCall(L"ZDQ_Open", nIndex,
                          [](CDevice& device) { return device.Transport().Open(); });
}

int ZDQ_Close(int nIndex) {
    return LoggedSlotCall(L"ZDQ_Close", nIndex,
                          [](CDevice& device) { return device.Transport().Close(); });
}

int ZDQ_CancelIo(int nIndex) {
    return LoggedSlotCall(L"ZDQ_CancelIo", nIndex,
                          [](CDevice& device) { return device.Transport().CancelIo(); });
}

int ZDQ_ResetHost(int nIndex) {
    return LoggedSlotCall(L"ZDQ_ResetHost", nIndex,
                          [](CDevice& device) { return device.Transport().UsbdCmd_Reset(); });
}
