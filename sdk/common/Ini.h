// CIni: the SDK's ini file (ZDQApi.ini beside the library), read with the
// classic private-profile rules (see platform/Ini.h).
#pragma once

#include <string>

#include "platform/Ini.h"

class CIni {
  public:
    explicit CIni(const std::wstring& szPath);
    CIni(const CIni&) = delete;
    CIni& operator=(const CIni&) = delete;
    virtual ~CIni() = default;

    const std::wstring& Path() const { return m_szPath; }

    // The integer of key in section, or nDefault when the file, the section
    // or the key is missing.
    int GetInt(const wchar_t* pszSection, const wchar_t* pszKey, int nDefault) const;
    // The text of key in section, or pszDefault when missing.
    std::wstring GetString(const wchar_t* pszSection, const wchar_t* pszKey,
                           const wchar_t* pszDefault) const;

  private:
    std::wstring m_szPath;
    plat::Ini m_Ini;
};
