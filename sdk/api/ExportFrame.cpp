#include "api/ExportFrame.h"

#include <cstdarg>

#include "device/Log.h"

CDeviceManager* FrameGetManager(int nIndex) {
    if (g_pDeviceManager == nullptr || !g_pDeviceManager->IsValidIndex(nIndex)) {
        return nullptr;
    }
    return g_pDeviceManager;
}

CDevice* FrameGetDevice(int nIndex) {
    CDeviceManager* pManager = FrameGetManager(nIndex);
    return pManager != nullptr ? pManager->GetDevice(nIndex) : nullptr;
}

void ApiLog(const wchar_t* pszFormat, ...) noexcept {
    va_list args;
    va_start(args, pszFormat);
    VLogPrint(g_pLog, LOGLEVEL_NORMAL, pszFormat, args);
    va_end(args);
}
