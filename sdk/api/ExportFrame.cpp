#include "api/ExportFrame.h"

#include "common/Log.h"

CDeviceManager* FrameGetManager(int nIndex) {
    if (g_pDeviceManager == nullptr || !g_pDeviceManager->IsValidIndex(nIndex)) {
        return nullptr;
    }
    return g_pDeviceManager.get();
}

CDevice* FrameGetDevice(int nIndex) {
    CDeviceManager* pManager = FrameGetManager(nIndex);
    return pManager != nullptr ? pManager->GetDevice(nIndex) : nullptr;
}
