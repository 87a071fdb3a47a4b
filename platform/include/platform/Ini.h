// Ini files with the semantics of the classic private-profile functions:
// - a missing file, section or key gives the caller's default;
// - section and key names compare without regard to ASCII case; the first
//   matching section and the first matching key in it are used;
// - names and values are trimmed of blanks; a value enclosed in a matching
//   pair of double or single quotes loses the quotes;
// - an integer is read like a decimal number: optional blanks and sign, then
//   digits up to the first non-digit ("12ab" is 12, "ab" is 0); an empty value
//   gives the default; values beyond the int range saturate;
// - a write creates the file, the section (appended at the end) and the key
//   (appended after the section's last entry) as needed, replaces an existing
//   key's value in place and keeps every other line as it was. The file is
//   replaced atomically, so a reader never sees half a file.
// Texts are UTF-8. Lines end in LF or CR LF; a write keeps the file's style.
#pragma once

#include <string>
#include <string_view>

namespace plat {

class Ini {
  public:
    explicit Ini(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }

    int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // False when the file could not be written (its folder is missing, no
    // permission, disk full); the old file is then unchanged.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;

  private:
    std::string m_path;
};

}  // namespace plat
