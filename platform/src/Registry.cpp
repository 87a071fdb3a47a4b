#include "platform/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/ErrorText.h"
#include "platform/FileSystem.h"

namespace plat {

namespace {

// One read-modify-write at a time within the process.
std::mutex& WriteMutex() {
    static std::mutex* mutex = new std::mutex;  // never destroyed: usable during exit
    return *mutex;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y) {
            return false;
        }
    }
    return true;
}

struct NamedValue {
    std::string name;
    RegistryValue value;
};
struct Key {
    std::string path;
    std::vector<NamedValue> values;
};
using Store = std::vector<Key>;

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A value line: "name"=dword:XXXXXXXX or "name"=hex:XX,XX,... (an empty
// binary value is "hex:"). Names escape '"' and '\' with a backslash.
bool ParseValue(const std::string& line, NamedValue& out) {
    if (line.empty() || line[0] != '"') {
        return false;
    }
    size_t i = 1;
    std::string name;
    while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        name += line[i++];
    }
    if (i + 1 >= line.size() || line[i + 1] != '=') {
        return false;
    }
    const std::string data = line.substr(i + 2);
    out.name = name;
    if (data.compare(0, 6, "dword:") == 0) {
        if (data.size() != 14) {
            return false;
        }
        uint32_t dwValue = 0;
        for (size_t k = 6; k < 14; ++k) {
            const int digit = HexDigit(data[k]);
            if (digit < 0) {
                return false;
            }
            dwValue = dwValue << 4 | static_cast<uint32_t>(digit);
        }
        out.value = RegistryValue::FromDword(dwValue);
        return true;
    }
    if (data.compare(0, 4, "hex:") == 0) {
        out.value.type = RegistryType::Binary;
        out.value.data.clear();
        for (size_t k = 4; k < data.size(); k += 3) {
            const int high = HexDigit(data[k]);
            const int low = k + 1 < data.size() ? HexDigit(data[k + 1]) : -1;
            if (high < 0 || low < 0 || (k + 2 < data.size() && data[k + 2] != ',')) {
                return false;
            }
            out.value.data.push_back(static_cast<uint8_t>(high << 4 | low));
        }
        return true;
    }
    return false;
}

// The keys of the file; a missing or unreadable file holds none. Lines that
// are neither a key nor a value are dropped at the next write.
Store Load(const std::string& file) {
    Store store;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            store.push_back(Key{line.substr(1, line.size() - 2), {}});
            continue;
        }
        NamedValue value;
        if (!store.empty() && ParseValue(line, value)) {
            store.back().values.push_back(std::move(value));
        }
    }
    return store;
}

std::string Format(const Store& store) {
    static const char kHex[] = "0123456789abcdef";
    std::string text = "REGEDIT4\n";
    for (const Key& key : store) {
        text += "\n[" + key.path + "]\n";
        for (const NamedValue& entry : key.values) {
            text += '"';
            for (char c : entry.name) {
                if (c == '"' || c == '\\') {
                    text += '\\';
                }
                text += c;
            }
            text += "\"=";
            if (entry.value.type == RegistryType::Dword) {
                char digits[9];
                std::snprintf(digits, sizeof digits, "%08x", entry.value.Dword().value_or(0));
                text += "dword:";
                text += digits;
            } else {
                text += "hex:";
                for (size_t i = 0; i < entry.value.data.size(); ++i) {
                    if (i > 0) {
                        text += ',';
                    }
                    text += kHex[entry.value.data[i] >> 4];
                    text += kHex[entry.value.data[i] & 15];
                }
            }
            text += '\n';
        }
    }
    return text;
}

Key* FindKey(Store& store, std::string_view path) {
    for (Key& key : store) {
        if (SameName(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool Save(const std::string& file, const Store& store) {
    const size_t slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        const uint32_t dwResult = CreateDirectoryRecursive(file.substr(0, slash));
        if (dwResult != kErrorSuccess && dwResult != kErrorAlreadyExists) {
            return false;
        }
    }
    return ReplaceFileAtomically(file, Format(store));
}

}  // namespace

RegistryValue RegistryValue::FromDword(uint32_t dwValue) {
    RegistryValue value;
    value.type = RegistryType::Dword;
    value.data = {static_cast<uint8_t>(dwValue), static_cast<uint8_t>(dwValue >> 8),
                  static_cast<uint8_t>(dwValue >> 16), static_cast<uint8_t>(dwValue >> 24)};
    return value;
}

std::optional<uint32_t> RegistryValue::Dword() const {
    if (type != RegistryType::Dword || data.size() != 4) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

Registry Registry::CurrentUser() {
    const char* pFile = std::getenv("VARNU_REGISTRY");
    if (pFile != nullptr && pFile[0] != '\0') {
        return Registry(pFile);
    }
    const char* pConfig = std::getenv("XDG_CONFIG_HOME");
    if (pConfig != nullptr && pConfig[0] == '/') {
        return Registry(std::string(pConfig) + "/varnu/registry.reg");
    }
    const char* pHome = std::getenv("HOME");
    return Registry(std::string(pHome != nullptr ? pHome : "/tmp") + "/.config/varnu/registry.reg");
}

bool Registry::KeyExists(std::string_view key) const {
    Store store = Load(m_file);
    return FindKey(store, key) != nullptr;
}

bool Registry::CreateKey(std::string_view key) const {
    std::lock_guard<std::mutex> lock(WriteMutex());
    Store store = Load(m_file);
    if (FindKey(store, key) != nullptr) {
        return true;
    }
    store.push_back(Key{std::string(key), {}});
    return Save(m_file, store);
}

std::optional<RegistryValue> Registry::QueryValue(std::string_view key,
                                                  std::string_view name) const {
    Store store = Load(m_file);
    Key* pKey = FindKey(store, key);
    if (pKey == nullptr) {
        return std::nullopt;
    }
    for (const NamedValue& entry : pKey->values) {
        if (SameName(entry.name, name)) {
            return entry.value;
        }
    }
    return std::nullopt;
}

bool Registry::SetValue(std::string_view key, std::string_view name,
                        const RegistryValue& value) const {
    std::lock_guard<std::mutex> lock(WriteMutex());
    Store store = Load(m_file);
    Key* pKey = FindKey(store, key);
    if (pKey == nullptr) {
        return false;
    }
    for (NamedValue& entry : pKey->values) {
        if (SameName(entry.name, name)) {
            entry.value = value;
            return Save(m_file, store);
        }
    }
    pKey->values.push_back(NamedValue{std::string(name), value});
    return Save(m_file, store);
}

}  // namespace plat
