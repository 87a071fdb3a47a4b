// SDK logging: CLog writes text lines to a log file; LogPrint is the
// printf-style front end every part of the SDK calls with a level;
// DebugPrint sends short texts to the debug channel.
//
// Levels: lines of level 0 and above are written, negative levels are
// dropped. LOGLEVEL_NORMAL for ordinary lines, LOGLEVEL_ERROR for errors and
// events, LOGLEVEL_FRAME for per-frame lines of the bus layer (never written).
// DebugPrint drops levels below LOGLEVEL_NORMAL.
//
// Format strings are wide; wide text arguments take "%ls" (see
// platform/WideText.h).
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/CriticalSection.h"
#include "platform/Time.h"

constexpr int LOGLEVEL_FRAME = -1;
constexpr int LOGLEVEL_NORMAL = 10;
constexpr int LOGLEVEL_ERROR = 11;

// Characters, terminator included, of a LogPrint text (its line feed
// included) and of a DebugPrint text; longer texts are cut.
constexpr size_t LOG_TEXT_LENGTH = 1024;
constexpr size_t DEBUG_TEXT_LENGTH = 256;

// Characters of the process-wide log folder, terminator included.
constexpr size_t LOG_FOLDER_LENGTH = 260;

class CLog {
  public:
    // A log file appended to (created when missing), or with bFileMode off a
    // log that shows its lines in message boxes (bMessageBoxMode) or sends
    // them to the debug channel. A file that cannot be opened leaves a log
    // that silently writes nothing.
    explicit CLog(const std::wstring& szPath, bool bFileMode = true, bool bMessageBoxMode = false);
    CLog(const CLog&) = delete;
    CLog& operator=(const CLog&) = delete;
    // Closes the file.
    virtual ~CLog();

    // Writes one line "yyyy-mm-dd hh-mm-ss-mmmm: <text>\r\n" (local time) and
    // flushes it. 1 when the level or a missing file drops the line, 0 after
    // writing. Lines of several threads never interleave.
    int Write(const wchar_t* pszText, int nLevel) noexcept;
    // Writes the system's text of an error number (which ends its own line).
    int WriteSystemError(uint32_t nCode, int nLevel) noexcept;

    const std::wstring& Path() const { return m_szPath; }
    bool IsOpen() const { return m_pFile != nullptr; }

  private:
    void WriteStamped(const std::wstring& szText);

    std::wstring m_szPath;
    FILE* m_pFile = nullptr;
    int m_nFileMode;
    int m_nMessageBoxMode;
    plat::CriticalSection m_Lock;
};

// Formats the arguments (cut to fit LOG_TEXT_LENGTH with the line feed that
// is appended) and writes the line. A null log writes nothing and gives 1;
// otherwise the result of CLog::Write.
int LogPrint(CLog* pLog, int nLevel, const wchar_t* pszFormat, ...) noexcept;
int VLogPrint(CLog* pLog, int nLevel, const wchar_t* pszFormat, va_list args) noexcept;

// Writes the text of the calling thread's last error (plat::GetLastError();
// code that calls the driver stores mlusb_get_last_error() there with
// plat::SetLastError() after a failed call). A null log gives 1.
int LogLastError(CLog* pLog, int nLevel) noexcept;

// Sends a text (cut to DEBUG_TEXT_LENGTH) to a message box captioned
// "ZDQDBG OUTPUT" or to the debug channel; levels below LOGLEVEL_NORMAL are
// dropped.
void DebugPrint(bool bMessageBox, int nLevel, const wchar_t* pszFormat, ...) noexcept;

// Starts (bEnable) or stops the user-call log. Starting creates
// <module directory>ZDQApiLog and a new file ZDQLOG_USERCALL_<time>.log in it.
// 1, or RET_FAIL when the folder or the log cannot be created.
int ZDQLOG_Init(bool bEnable);

// File names of new logs, from the local time of their creation.
std::wstring UserCallLogName(const plat::LocalTime& time);
std::wstring DeviceLogName(int nDeviceType, int nSerial, uint16_t wFirmwareVersion,
                           const plat::LocalTime& time);

// <module directory>ZDQApiLog, the folder of logs when none is chosen.
std::wstring DefaultLogFolder();

// Creates a folder for logs; true when it is there afterwards.
bool CreateLogFolder(const std::wstring& szFolder);

// Makes szFolder the process-wide log folder and opens a new file log
// szFolder/szFileName in it. Null when the log cannot be created.
CLog* OpenLogInFolder(const std::wstring& szFolder, const std::wstring& szFileName);

// Process-wide logging state. They change at load, at unload and in
// ZDQ_LogSet, without a lock.
extern CLog* g_pLog;                              // the user-call log, or null
extern unsigned char g_bLogEnable;                // device logs on for new devices
extern wchar_t g_szLogFolder[LOG_FOLDER_LENGTH];  // the log folder, "" until set

// Copies a folder into g_szLogFolder, cut to fit.
void SetLogFolder(const wchar_t* pszFolder);

// A line of the user-call log (g_pLog) at LOGLEVEL_NORMAL.
void ApiLog(const wchar_t* pszFormat, ...) noexcept;
