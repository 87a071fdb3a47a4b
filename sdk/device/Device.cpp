#include "device/Device.h"

#include <string>

#include "ZDQApi.h"

CDevice::CDevice(int nIndex, bool& bSuccess) : m_nIndex(nIndex) {
    bSuccess = false;
    // The opening sequence of a camera (claiming a driver device, identity,
    // capabilities, registers, sensor) is not part of the SDK yet, so no
    // camera opens: the slot stays empty and its calls give RET_DEVICENOTINIT.
}

CDevice::~CDevice() {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++Device UnInit.");
    // The closing steps of an opened camera go between these two lines.
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--Device UnInit.");
    delete m_pLog;
}

int CDevice::LogSet(bool bEnable, const wchar_t* pszFolder) {
    if (!bEnable) {
        delete m_pLog;
        m_pLog = nullptr;
        return RET_SUCCESS;
    }
    if (m_pLog != nullptr) {
        return RET_SUCCESS;  // an open log is never moved
    }
    const std::wstring szFileName =
        DeviceLogName(m_nDeviceType, m_nSerial, m_wFirmwareVersion, plat::GetLocalTime());
    std::wstring szFolder;
    if (pszFolder != nullptr && pszFolder[0] != L'\0') {
        szFolder = pszFolder;
        if (!CreateLogFolder(szFolder)) {
            DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::Create Log Folder = %ls Fail!", pszFolder);
            return RET_FAIL;
        }
        DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::Create Log Folder = %ls Success", pszFolder);
    } else {
        szFolder = DefaultLogFolder();
        if (!CreateLogFolder(szFolder)) {
            return RET_FAIL;
        }
    }
    m_pLog = OpenLogInFolder(szFolder, szFileName);
    return m_pLog != nullptr ? RET_SUCCESS : RET_FAIL;
}
