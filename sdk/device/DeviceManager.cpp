#include "device/DeviceManager.h"

#include <new>

#include "mlusbimager.h"
#include "platform/NamedClaim.h"
#include "usb/DriverNames.h"

CDeviceManager* g_pDeviceManager = nullptr;

CDeviceManager::CDeviceManager(int nDeviceCount) : m_nDeviceCount(nDeviceCount) {}

CDeviceManager::~CDeviceManager() {
    for (int nSlot = 0; nSlot < ZDQ_MAX_DEVICES; ++nSlot) {
        CloseDevice(nSlot);
    }
    m_nDeviceCount = 0;
}

CDevice* CDeviceManager::GetDevice(int nIndex) {
    if (!IsValidIndex(nIndex)) {
        return nullptr;
    }
    if (m_pDevices[nIndex] == nullptr) {
        bool bSuccess = false;
        CDevice* pDevice = nullptr;
        try {
            pDevice = new CDevice(nIndex, bSuccess);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        if (!bSuccess) {
            delete pDevice;
            return nullptr;
        }
        m_pDevices[nIndex] = pDevice;
    }
    return m_pDevices[nIndex];
}

CDevice* CDeviceManager::PeekDevice(int nSlot) const {
    if (nSlot < 0 || nSlot >= ZDQ_MAX_DEVICES) {
        return nullptr;
    }
    return m_pDevices[nSlot];
}

void CDeviceManager::CloseDevice(int nSlot) {
    if (nSlot < 0 || nSlot >= ZDQ_MAX_DEVICES) {
        return;
    }
    delete m_pDevices[nSlot];
    m_pDevices[nSlot] = nullptr;
}

int CDeviceManager::MDeviceGetCount() {
    int nCount = 0;
    for (int i = 0; i < ZDQ_MAX_DEVICES; ++i) {
        MlUsbHandle hDevice = mlusb_open(DriverDevicePath(i).c_str());
        if (hDevice == nullptr) {
            continue;
        }
        ++nCount;
        // The claim is looked up the way a device object looks it up before
        // taking a camera, but a claimed camera is counted all the same.
        plat::NamedClaim::Exists(CameraClaimName(i));
        mlusb_close(hDevice);
    }
    return nCount;
}
