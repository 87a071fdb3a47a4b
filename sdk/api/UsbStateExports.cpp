// Exports of the camera's USB state and the controller reboot.
#include "ZDQApi.h"
#include "api/ExportFrame.h"

int ZDQ_GetUsbState(int nIndex, int* pState) {
    return WithDevice(nIndex, [&](CDevice& device) {
        return pState != nullptr ? device.Vendor().VendorCmd_UsbState(pState) : RET_PARAMERROR;
    });
}

int ZDQ_RebootDevice(int nIndex) {
    CDevice* pDevice = FrameGetDevice(nIndex);
    if (pDevice == nullptr) {
        return RET_DEVICENOTINIT;
    }
    // The device object stays; the camera comes back through recovery.
    return pDevice->Vendor().VendorCmd_ResetFx3();
}
