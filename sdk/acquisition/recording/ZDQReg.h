// The registry key that keeps the compressor options of the last recording
// chosen in the dialog: SOFTWARE\Morlane\ZDQAPI\Compossor of the current
// user. Results follow the system's registry calls: 0 for success, 1 for
// failure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Registry.h"

class CZDQReg {
  public:
    CZDQReg();
    CZDQReg(const CZDQReg&) = delete;
    CZDQReg& operator=(const CZDQReg&) = delete;
    virtual ~CZDQReg();  // closes the key

    // 0 when the key was opened; 1 when it does not exist.
    int Open();
    // Opens the key, or creates it: 0 when it is open, 1 otherwise.
    int Create();
    void Close();
    bool IsOpen() const { return m_bOpen; }

    // Reads a binary value into pBuffer (nSize bytes): 0 when a binary value
    // was read; 1 when the value has another type or is larger than the
    // buffer; a missing value is zero-filled in pBuffer, written back as a
    // binary value of nSize bytes, and gives 1.
    int QueryBinary(const char* pszName, uint8_t* pBuffer, uint32_t nSize);
    // A DWORD value, or nullopt when it is missing or of another type.
    std::optional<uint32_t> QueryDword(const char* pszName) const;
    bool SetDword(const char* pszName, uint32_t dwValue);
    bool SetBinary(const char* pszName, const uint8_t* pData, uint32_t nSize);

    // The key's path under the current user.
    static std::string KeyPath();

  private:
    plat::Registry m_Registry;
    bool m_bOpen = false;
};
