// The current user's registry: DWORD and binary values under key paths
// ("SOFTWARE\Maker\Product"), kept in one file. Key paths and value names
// compare without regard to ASCII case, as the system's registry does.
//
// The file is REGEDIT4-like text: a line "[key path]" opens a key, lines
// "name"=dword:0000002a and "name"=hex:01,02 hold its values. Every write
// is one read-modify-write of the whole file, replaced atomically, so a
// reader never sees half a file; writes within the process are serialised.
//
// Location: the file named by the environment variable VARNU_REGISTRY when
// it is set and not empty (tests point it at a scratch file), else
// $XDG_CONFIG_HOME/varnu/registry.reg, else $HOME/.config/varnu/registry.reg.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class RegistryType : uint32_t { Binary = 3, Dword = 4 };

struct RegistryValue {
    RegistryType type = RegistryType::Binary;
    std::vector<uint8_t> data;  // a DWORD: four bytes, little-endian

    static RegistryValue FromDword(uint32_t dwValue);
    // The DWORD a value of type Dword holds (nullopt for another type).
    std::optional<uint32_t> Dword() const;
};

class Registry {
  public:
    explicit Registry(std::string file) : m_file(std::move(file)) {}
    // The current user's registry at the location described above.
    static Registry CurrentUser();

    const std::string& File() const { return m_file; }

    bool KeyExists(std::string_view key) const;
    // Creates the key (and the file and its folder) unless it exists; false
    // when the file cannot be written.
    bool CreateKey(std::string_view key) const;
    // The value, or nullopt when the key or the value is missing.
    std::optional<RegistryValue> QueryValue(std::string_view key, std::string_view name) const;
    // Writes a value of an existing key (false when the key is missing or
    // the file cannot be written).
    bool SetValue(std::string_view key, std::string_view name, const RegistryValue& value) const;

  private:
    std::string m_file;
};

}  // namespace plat
