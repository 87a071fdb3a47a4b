// Exports of the logging family.
#include <cwchar>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/Log.h"
#include "device/DeviceManager.h"

int ZDQ_LogSet(int bEnable, const wchar_t* pszFolder) {
    g_bLogEnable = static_cast<unsigned char>(bEnable & 0xFF);
    if (pszFolder != nullptr) {
        SetLogFolder(pszFolder);
    }
    if (g_pDeviceManager != nullptr) {
        for (int nSlot = 0; nSlot < ZDQ_MAX_DEVICES; ++nSlot) {
            if (CDevice* pDevice = g_pDeviceManager->PeekDevice(nSlot)) {
                // A device whose log cannot be set goes on without one.
                CallGuarded([&] {
                    pDevice->LogSet(g_bLogEnable != 0, pszFolder);
                    return RET_SUCCESS;
                });
            }
        }
    }
    return RET_SUCCESS;
}

int ZDQ_LogGet(unsigned char* pbEnable, wchar_t* pszFolder) {
    if (pbEnable != nullptr) {
        *pbEnable = g_bLogEnable;
    }
    if (pszFolder != nullptr) {
        std::wcscpy(pszFolder, g_szLogFolder);  // at most LOG_FOLDER_LENGTH characters
    }
    return RET_SUCCESS;
}
