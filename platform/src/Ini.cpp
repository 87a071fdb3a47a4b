#include "platform/Ini.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <sstream>
#include <vector>

#include "platform/FileSystem.h"

namespace plat {

namespace {

// One read-modify-write at a time within the process.
std::mutex& WriteMutex() {
    static std::mutex* mutex = new std::mutex;  // never destroyed: usable during exit
    return *mutex;
}

std::string_view Trim(std::string_view text) {
    const char* blanks = " \t\r\n\f\v";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
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

// The file as lines without their line ends; false when it cannot be read.
struct IniText {
    std::vector<std::string> lines;
    bool crlf = false;
};

bool Load(const std::string& path, IniText& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string content = buffer.str();
    if (content.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        content.erase(0, 3);
    }
    text.crlf = content.find("\r\n") != std::string::npos;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        text.lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

// Name of a section header line, or false when the line is none.
bool SectionName(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') {
        return false;
    }
    const size_t close = line.find(']');
    name =
        Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return true;
}

// Key and value of an entry line, or false when the line is none.
bool Entry(std::string_view line, std::string_view& key, std::string_view& value) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return false;
    }
    key = Trim(line.substr(0, equals));
    value = Trim(line.substr(equals + 1));
    return !key.empty() && key.front() != ';';
}

// Line index range [begin, end) of the body of the first matching section.
bool FindSection(const IniText& text, std::string_view section, size_t& begin, size_t& end) {
    size_t i = 0;
    std::string_view name;
    for (; i < text.lines.size(); ++i) {
        if (SectionName(text.lines[i], name) && SameName(name, section)) {
            break;
        }
    }
    if (i == text.lines.size()) {
        return false;
    }
    begin = i + 1;
    end = begin;
    while (end < text.lines.size() && !SectionName(text.lines[end], name)) {
        ++end;
    }
    return true;
}

bool FindValue(const std::string& path, std::string_view section, std::string_view key,
               std::string& value) {
    IniText text;
    size_t begin = 0, end = 0;
    if (!Load(path, text) || !FindSection(text, section, begin, end)) {
        return false;
    }
    std::string_view name, found;
    for (size_t i = begin; i < end; ++i) {
        if (Entry(text.lines[i], name, found) && SameName(name, key)) {
            if (found.size() >= 2 && (found.front() == '"' || found.front() == '\'') &&
                found.back() == found.front()) {
                found = found.substr(1, found.size() - 2);
            }
            value.assign(found);
            return true;
        }
    }
    return false;
}

}  // namespace

int Ini::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
    std::string value;
    if (!FindValue(m_path, section, key, value) || value.empty()) {
        return defaultValue;
    }
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    int64_t number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + (value[i] - '0');
        if (number > static_cast<int64_t>(INT_MAX) + 1) {
            number = static_cast<int64_t>(INT_MAX) + 1;
        }
    }
    if (negative) {
        number = -number;
    }
    if (number > INT_MAX) {
        number = INT_MAX;
    }
    return static_cast<int>(number);
}

std::string Ini::ReadString(std::string_view section, std::string_view key,
                            std::string_view defaultValue) const {
    std::string value;
    if (!FindValue(m_path, section, key, value)) {
        return std::string(defaultValue);
    }
    return value;
}

bool Ini::WriteString(std::string_view section, std::string_view key,
                      std::string_view value) const {
    std::lock_guard<std::mutex> lock(WriteMutex());
    IniText text;
    if (!Load(m_path, text)) {
        struct stat info {};
        if (stat(m_path.c_str(), &info) == 0) {
            return false;  // there but unreadable: never overwrite it blindly
        }
    }
    const std::string entry = std::string(key) + "=" + std::string(value);
    size_t begin = 0, end = 0;
    if (FindSection(text, section, begin, end)) {
        std::string_view name, old;
        bool replaced = false;
        for (size_t i = begin; i < end && !replaced; ++i) {
            if (Entry(text.lines[i], name, old) && SameName(name, key)) {
                text.lines[i] = std::string(name) + "=" + std::string(value);
                replaced = true;
            }
        }
        if (!replaced) {
            size_t at = end;
            while (at > begin && Trim(text.lines[at - 1]).empty()) {
                --at;
            }
            text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
        }
    } else {
        while (!text.lines.empty() && text.lines.back().empty()) {
            text.lines.pop_back();
        }
        if (!text.lines.empty()) {
            text.lines.emplace_back();
        }
        text.lines.push_back("[" + std::string(section) + "]");
        text.lines.push_back(entry);
    }
    const char* lineEnd = text.crlf ? "\r\n" : "\n";
    std::string content;
    for (const std::string& line : text.lines) {
        content += line;
        content += lineEnd;
    }
    return ReplaceFileAtomically(m_path, content);
}

}  // namespace plat
