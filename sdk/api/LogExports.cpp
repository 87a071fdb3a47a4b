// Exports of the logging family.
#include <cwchar>
#include <new>

#include "ZDQApi.h"
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
                try {
                    pDevice->LogSet(g_bLogEnable != 0, pszFolder);
                } catch (const std::bad_alloc&) {
                    // That device goes on without a log.
                }
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
