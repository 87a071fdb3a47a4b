// Exports of the initialisation family: the device manager, the device count
// and slots, return-code texts and the version.
#include <cwchar>
#include <memory>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "api/ReturnCodes.h"
#include "common/Library.h"

int ZDQ_Init(void) {
    ApiLog(L"ZDQAPI::++ZDQ_Init.");
    if (g_pDeviceManager != nullptr) {
        return RET_SUCCESS;  // the first count stays
    }
    // Lacking memory gives RET_FAIL and leaves the manager null.
    const int nRet = CallGuarded(
        [] {
            g_pDeviceManager = std::make_unique<CDeviceManager>(CDeviceManager::MDeviceGetCount());
            return RET_SUCCESS;
        },
        RET_FAIL);
    ApiLog(L"ZDQAPI::--ZDQ_Init. Ret(%d)", nRet);
    return nRet;
}

int ZDQ_UnInit(void) {
    ApiLog(L"ZDQAPI::++ZDQ_UnInit.");
    g_pDeviceManager.reset();
    ApiLog(L"ZDQAPI::--ZDQ_UnInit. Ret(%d)", RET_SUCCESS);
    return RET_SUCCESS;
}

int ZDQ_DeviceGetCount(void) {
    ApiLog(L"ZDQAPI::++ZDQ_DeviceGetCount.");
    int nRet = RET_DEVICENOTINIT;
    if (g_pDeviceManager != nullptr) {
        nRet = CallGuarded([] { return CDeviceManager::MDeviceGetCount(); }, RET_FAIL);
    }
    ApiLog(L"ZDQAPI::--ZDQ_DeviceGetCount.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_DeviceClose(int nIndex) {
    ApiLog(L"ZDQAPI::++ZDQ_DeviceClose(%d).", nIndex);
    int nRet = RET_DEVICENOTINIT;
    if (CDeviceManager* pManager = FrameGetManager(nIndex)) {
        pManager->CloseDevice(nIndex);
        nRet = RET_SUCCESS;
    }
    ApiLog(L"ZDQAPI::--ZDQ_DeviceClose.Ret(%d)", nRet);
    return nRet;
}

int ZDQ_DeviceGetStatus(int nIndex, int* pStatus) {
    ApiLog(L"ZDQAPI::++ZDQ_DeviceGetStatus(%d).", nIndex);
    if (g_pDeviceManager == nullptr || nIndex < 0 || nIndex >= ZDQ_MAX_DEVICES) {
        return RET_DEVICENOTINIT;
    }
    if (pStatus == nullptr) {
        return RET_PARAMERROR;
    }
    *pStatus = g_pDeviceManager->PeekDevice(nIndex) != nullptr ? 1 : 0;
    ApiLog(L"ZDQAPI::--ZDQ_DeviceGetStatus(pDs = %d).Ret(%d)", *pStatus, RET_SUCCESS);
    return RET_SUCCESS;
}

int ZDQ_DeviceGetInformation(int nIndex, int* pType, int* pSerial, unsigned short* pFirmware) {
    ApiLog(L"ZDQAPI::++MDeviceGetInformation(%d)", nIndex);
    CDevice* pDevice = FrameGetDevice(nIndex);
    if (pDevice == nullptr) {
        ApiLog(L"ZDQAPI::--MDeviceGetInformation OpenDevice Fail!");
        return RET_DEVICENOTINIT;
    }
    return CallGuarded([&] { return pDevice->DDeviceGetInformation(pType, pSerial, pFirmware); });
}

int ZDQ_DeviceGetInformationEx(int nIndex, int* pType, int* pSerial, unsigned short* pFirmware,
                               unsigned short* pFpgaVersion) {
    ApiLog(L"ZDQAPI::++MDeviceGetInformationEx(%d)", nIndex);
    CDevice* pDevice = FrameGetDevice(nIndex);
    if (pDevice == nullptr) {
        ApiLog(L"ZDQAPI::--MDeviceGetInformationEx OpenDevice Fail!");
        return RET_DEVICENOTINIT;
    }
    return CallGuarded(
        [&] { return pDevice->DDeviceGetInformationEx(pType, pSerial, pFirmware, pFpgaVersion); });
}

int ZDQ_GetErrorInfo(int nReturnCode, wchar_t* pszText) {
    if (pszText == nullptr) {
        return RET_PARAMERROR;
    }
    const wchar_t* pszFound = ReturnCodeText(nReturnCode);
    std::wcscpy(pszText, pszFound != nullptr ? pszFound : ReturnCodeText(RET_NOPRIVILEGE));
    return pszFound != nullptr ? RET_SUCCESS : RET_ILLEGALOPERATION;
}

int ZDQ_GetVersion(int* pMajor, int* pMinor, int* pRevision, int* pBuild) {
    if (pMajor != nullptr)
        *pMajor = kApiVersionMajor;
    if (pMinor != nullptr)
        *pMinor = kApiVersionMinor;
    if (pRevision != nullptr)
        *pRevision = kApiVersionRevision;
    if (pBuild != nullptr)
        *pBuild = kApiVersionBuild;
    return RET_SUCCESS;
}
