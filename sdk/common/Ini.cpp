#include "common/Ini.h"

#include "platform/WideText.h"

CIni::CIni(const std::wstring& szPath) : m_szPath(szPath), m_Ini(plat::Utf8FromWide(szPath)) {}

int CIni::GetInt(const wchar_t* pszSection, const wchar_t* pszKey, int nDefault) const {
    return m_Ini.ReadInt(plat::Utf8FromWide(pszSection), plat::Utf8FromWide(pszKey), nDefault);
}

std::wstring CIni::GetString(const wchar_t* pszSection, const wchar_t* pszKey,
                             const wchar_t* pszDefault) const {
    return plat::WideFromUtf8(m_Ini.ReadString(plat::Utf8FromWide(pszSection),
                                               plat::Utf8FromWide(pszKey),
                                               plat::Utf8FromWide(pszDefault)));
}
