#include "device/DeviceManager.h"

#include <new>
#include <utility>

#include "mlusbimager.h"
#include "usb/DriverNames.h"

std::unique_ptr<CDeviceManager> g_pDeviceManager;

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
        std::unique_ptr<CDevice> pDevice;
        try {
            pDevice = std::make_unique<CDevice>(nIndex, bSuccess);
        } catch (const std::bad_alloc&) {
            return nullptr;  // the slot stays empty, as for a camera that does not open
        }
        if (!bSuccess) {
            return nullptr;
        }
        m_pDevices[nIndex] = std::move(pDevice);
    }
    return m_pDevices[nIndex].get();
}

CDevice* CDeviceManager::PeekDevice(int nSlot) const {
    if (nSlot < 0 || nSlot >= ZDQ_MAX_DEVICES) {
        return nullptr;
    }
    return m_pDevices[nSlot].get();
}

void CDeviceManager::CloseDevice(int nSlot) {
    if (nSlot < 0 || nSlot >= ZDQ_MAX_DEVICES) {
        return;
    }
    m_pDevices[nSlot].reset();
}

int CDeviceManager::MDeviceGetCount() {
    int nCount = 0;
    for (int i = 0; i < ZDQ_MAX_DEVICES; ++i) {
        MlUsbHandle hDevice = mlusb_open(DriverDevicePath(i).c_str());
        if (hDevice == nullptr) {
            continue;
        }
        ++nCount;  // a camera a device object has claimed is counted all the same
        mlusb_close(hDevice);
    }
    return nCount;
}
