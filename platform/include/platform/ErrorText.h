// Error numbers of the system's error table that our layers produce, their
// texts, and the calling thread's last error.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorGenFailure = 31;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorDiskFull = 112;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorFilenameTooLong = 206;
constexpr uint32_t kErrorDirectory = 267;
constexpr uint32_t kErrorOperationAborted = 995;
constexpr uint32_t kErrorIoIncomplete = 996;
constexpr uint32_t kErrorIoPending = 997;
constexpr uint32_t kErrorDeviceNotConnected = 1167;

// The message of an error number, ending in "\r\n" as the system's messages
// do; an unknown number gives "Unknown error <n>.\r\n".
std::wstring SystemErrorText(uint32_t code);

// Error number of the calling thread's last failure (0 when none was set).
uint32_t GetLastError();
void SetLastError(uint32_t code);

}  // namespace plat
