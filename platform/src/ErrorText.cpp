#include "platform/ErrorText.h"

#include <cwchar>

namespace plat {

namespace {

thread_local uint32_t t_lastError = kErrorSuccess;

struct ErrorTextEntry {
    uint32_t code;
    const wchar_t* text;
};

constexpr ErrorTextEntry kErrorTexts[] = {
    {kErrorSuccess, L"The operation completed successfully.\r\n"},
    {kErrorFileNotFound, L"The system cannot find the file specified.\r\n"},
    {kErrorPathNotFound, L"The system cannot find the path specified.\r\n"},
    {kErrorAccessDenied, L"Access is denied.\r\n"},
    {kErrorInvalidHandle, L"The handle is invalid.\r\n"},
    {kErrorGenFailure, L"A device attached to the system is not functioning.\r\n"},
    {kErrorInvalidParameter, L"The parameter is incorrect.\r\n"},
    {kErrorDiskFull, L"There is not enough space on the disk.\r\n"},
    {kErrorAlreadyExists, L"Cannot create a file when that file already exists.\r\n"},
    {kErrorFilenameTooLong, L"The filename or extension is too long.\r\n"},
    {kErrorDirectory, L"The directory name is invalid.\r\n"},
    {kErrorOperationAborted,
     L"The I/O operation has been aborted because of either a thread exit or an application "
     L"request.\r\n"},
    {kErrorIoIncomplete, L"Overlapped I/O event is not in a signaled state.\r\n"},
    {kErrorIoPending, L"Overlapped I/O operation is in progress.\r\n"},
    {kErrorDeviceNotConnected, L"The device is not connected.\r\n"},
};

}  // namespace

std::wstring SystemErrorText(uint32_t code) {
    for (const ErrorTextEntry& entry : kErrorTexts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    wchar_t text[64];
    std::swprintf(text, sizeof text / sizeof text[0], L"Unknown error %u.\r\n", code);
    return text;
}

uint32_t GetLastError() {
    return t_lastError;
}

void SetLastError(uint32_t code) {
    t_lastError = code;
}

}  // namespace plat
