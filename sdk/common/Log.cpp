#include "common/Log.h"

#include <cwchar>
#include <new>

#include "common/Library.h"
#include "platform/DebugOutput.h"
#include "platform/ErrorText.h"
#include "platform/FileSystem.h"
#include "platform/WideText.h"

#include "ZDQApi.h"

CLog* g_pLog = nullptr;
unsigned char g_bLogEnable = 0;
wchar_t g_szLogFolder[LOG_FOLDER_LENGTH] = L"";

CLog::CLog(const std::wstring& szPath, bool bFileMode, bool bMessageBoxMode)
    : m_szPath(szPath), m_nFileMode(bFileMode ? 1 : 0), m_nMessageBoxMode(bMessageBoxMode ? 1 : 0) {
    if (m_nFileMode) {
        // Append, binary, and not inherited by programs the host starts.
        m_pFile = std::fopen(plat::Utf8FromWide(m_szPath).c_str(), "ab+e");
    }
}

CLog::~CLog() {
    if (m_pFile != nullptr) {
        std::fclose(m_pFile);
    }
}

void CLog::WriteStamped(const std::wstring& szText) {
    const plat::LocalTime t = plat::GetLocalTime();
    std::wstring line = plat::FormatWide(64, L"%04d-%02d-%02d %02d-%02d-%02d-%04d: ", t.year,
                                         t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
    line += szText;
    const std::string bytes = plat::Utf8FromWide(line);
    std::fwrite(bytes.data(), 1, bytes.size(), m_pFile);
    // At once, so the log survives a crash of the host.
    std::fflush(m_pFile);
}

int CLog::Write(const wchar_t* pszText, int nLevel) noexcept {
    if (nLevel < 0 || (m_nFileMode && m_pFile == nullptr)) {
        return 1;
    }
    try {
        const std::wstring szText = pszText != nullptr ? pszText : L"";
        plat::CriticalSectionLock lock(m_Lock);
        if (m_nFileMode) {
            WriteStamped(szText + L"\r\n");
        } else if (m_nMessageBoxMode) {
            plat::ShowMessageBox(szText, L"Error");
        } else {
            plat::DebugOutput(szText);
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: the line is lost, the caller goes on.
    }
    return 0;
}

int CLog::WriteSystemError(uint32_t nCode, int nLevel) noexcept {
    if (nLevel < 0 || (m_nFileMode && m_pFile == nullptr)) {
        return 1;
    }
    try {
        const std::wstring szText = plat::SystemErrorText(nCode);
        plat::CriticalSectionLock lock(m_Lock);
        if (m_nFileMode) {
            WriteStamped(szText);
        } else if (m_nMessageBoxMode) {
            plat::ShowMessageBox(szText, L"Error");
        } else {
            plat::DebugOutput(szText);
        }
    } catch (const std::bad_alloc&) {
    }
    return 0;
}

int VLogPrint(CLog* pLog, int nLevel, const wchar_t* pszFormat, va_list args) noexcept {
    if (pLog == nullptr) {
        return 1;
    }
    if (nLevel < 0) {
        return pLog->Write(L"", nLevel);  // dropped; no need to format it
    }
    try {
        std::wstring szText = plat::FormatWideV(LOG_TEXT_LENGTH, pszFormat, args);
        // Room for the line feed and the terminator.
        if (szText.size() > LOG_TEXT_LENGTH - 2) {
            szText.resize(LOG_TEXT_LENGTH - 2);
        }
        szText += L'\n';
        return pLog->Write(szText.c_str(), nLevel);
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

int LogPrint(CLog* pLog, int nLevel, const wchar_t* pszFormat, ...) noexcept {
    va_list args;
    va_start(args, pszFormat);
    const int nRet = VLogPrint(pLog, nLevel, pszFormat, args);
    va_end(args);
    return nRet;
}

int LogLastError(CLog* pLog, int nLevel) noexcept {
    if (pLog == nullptr) {
        return 1;
    }
    return pLog->WriteSystemError(plat::GetLastError(), nLevel);
}

void DebugPrint(bool bMessageBox, int nLevel, const wchar_t* pszFormat, ...) noexcept {
    if (nLevel < LOGLEVEL_NORMAL) {
        return;
    }
    try {
        va_list args;
        va_start(args, pszFormat);
        const std::wstring szText = plat::FormatWideV(DEBUG_TEXT_LENGTH, pszFormat, args);
        va_end(args);
        if (bMessageBox) {
            plat::ShowMessageBox(szText, L"ZDQDBG OUTPUT");
        } else {
            plat::DebugOutput(szText);
        }
    } catch (const std::bad_alloc&) {
    }
}

std::wstring UserCallLogName(const plat::LocalTime& t) {
    return plat::FormatWide(LOG_FOLDER_LENGTH, L"ZDQLOG_USERCALL_%02d%02d%02d%02d%02d%04d.log",
                            t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
}

std::wstring DeviceLogName(int nDeviceType, int nSerial, uint16_t wFirmwareVersion,
                           const plat::LocalTime& t) {
    return plat::FormatWide(LOG_FOLDER_LENGTH, L"ZDQLOG_%d_%d_0x%04x_%02d%02d%02d%02d%02d%04d.log",
                            nDeviceType, nSerial, static_cast<unsigned>(wFirmwareVersion), t.month,
                            t.day, t.hour, t.minute, t.second, t.millisecond);
}

std::wstring DefaultLogFolder() {
    return GetModuleDirectory() + L"ZDQApiLog";
}

bool CreateLogFolder(const std::wstring& szFolder) {
    const uint32_t nResult = plat::CreateDirectoryRecursive(plat::Utf8FromWide(szFolder));
    return nResult == plat::kErrorSuccess || nResult == plat::kErrorAlreadyExists;
}

void SetLogFolder(const wchar_t* pszFolder) {
    std::wcsncpy(g_szLogFolder, pszFolder, LOG_FOLDER_LENGTH - 1);
    g_szLogFolder[LOG_FOLDER_LENGTH - 1] = L'\0';
}

CLog* OpenLogInFolder(const std::wstring& szFolder, const std::wstring& szFileName) {
    SetLogFolder(szFolder.c_str());
    const std::wstring szPath = szFolder + L"/" + szFileName;
    CLog* pLog = new (std::nothrow) CLog(szPath);
    if (pLog != nullptr) {
        DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::ZDQLOG_Init = %ls Success", szPath.c_str());
    }
    return pLog;
}

int ZDQLOG_Init(bool bEnable) {
    if (!bEnable) {
        delete g_pLog;
        g_pLog = nullptr;
        return RET_SUCCESS;
    }
    if (g_pLog != nullptr) {
        return RET_SUCCESS;
    }
    const std::wstring szFileName = UserCallLogName(plat::GetLocalTime());
    const std::wstring szFolder = DefaultLogFolder();
    if (!CreateLogFolder(szFolder)) {
        return RET_FAIL;
    }
    g_pLog = OpenLogInFolder(szFolder, szFileName);
    return g_pLog != nullptr ? RET_SUCCESS : RET_FAIL;
}

void ApiLog(const wchar_t* pszFormat, ...) noexcept {
    va_list args;
    va_start(args, pszFormat);
    VLogPrint(g_pLog, LOGLEVEL_NORMAL, pszFormat, args);
    va_end(args);
}
