#include "acquisition/recording/ZDQReg.h"

#include <cstring>

#include "platform/WideText.h"

namespace {
const wchar_t* const kProductKey = L"SOFTWARE\\Morlane\\ZDQAPI";
const wchar_t* const kCompressorKey = L"Compossor";
}  // namespace

CZDQReg::CZDQReg() : m_Registry(plat::Registry::CurrentUser()) {}

CZDQReg::~CZDQReg() {
    Close();
}

std::string CZDQReg::KeyPath() {
    return plat::Utf8FromWide(plat::FormatWide(256, L"%ls\\%ls", kProductKey, kCompressorKey));
}

int CZDQReg::Open() {
    m_bOpen = m_Registry.KeyExists(KeyPath());
    return m_bOpen ? 0 : 1;
}

int CZDQReg::Create() {
    if (Open() == 0) {
        return 0;
    }
    m_bOpen = m_Registry.CreateKey(KeyPath());
    return m_bOpen ? 0 : 1;
}

void CZDQReg::Close() {
    m_bOpen = false;
}

int CZDQReg::QueryBinary(const char* pszName, uint8_t* pBuffer, uint32_t nSize) {
    if (!m_bOpen) {
        return 1;
    }
    const std::optional<plat::RegistryValue> value = m_Registry.QueryValue(KeyPath(), pszName);
    if (!value) {
        if (nSize > 0) {
            std::memset(pBuffer, 0, nSize);
        }
        SetBinary(pszName, pBuffer, nSize);
        return 1;
    }
    if (value->type != plat::RegistryType::Binary || value->data.size() > nSize) {
        return 1;
    }
    if (!value->data.empty()) {
        std::memcpy(pBuffer, value->data.data(), value->data.size());
    }
    return 0;
}

std::optional<uint32_t> CZDQReg::QueryDword(const char* pszName) const {
    if (!m_bOpen) {
        return std::nullopt;
    }
    const std::optional<plat::RegistryValue> value = m_Registry.QueryValue(KeyPath(), pszName);
    return value ? value->Dword() : std::nullopt;
}

bool CZDQReg::SetDword(const char* pszName, uint32_t dwValue) {
    return m_bOpen &&
           m_Registry.SetValue(KeyPath(), pszName, plat::RegistryValue::FromDword(dwValue));
}

bool CZDQReg::SetBinary(const char* pszName, const uint8_t* pData, uint32_t nSize) {
    plat::RegistryValue value;
    value.type = plat::RegistryType::Binary;
    if (nSize > 0) {
        value.data.assign(pData, pData + nSize);
    }
    return m_bOpen && m_Registry.SetValue(KeyPath(), pszName, value);
}
