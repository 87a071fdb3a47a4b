#include "platform/WideText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace plat {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c >= 0xD800 && c <= 0xDFFF) {
        c = kReplacement;
    } else if (c > 0x10FFFF) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        AppendUtf8(out, static_cast<char32_t>(static_cast<uint32_t>(c)));
    }
    return out;
}

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        size_t length;
        char32_t c;
        char32_t minimum;
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, c = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, c = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, c = lead & 0x07, minimum = 0x10000;
        } else {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        size_t taken = 1;
        while (taken < length && i + taken < text.size() &&
               (static_cast<unsigned char>(text[i + taken]) & 0xC0) == 0x80) {
            c = (c << 6) | (static_cast<unsigned char>(text[i + taken]) & 0x3F);
            ++taken;
        }
        const bool valid =
            taken == length && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        out += static_cast<wchar_t>(valid ? c : kReplacement);
        i += taken;
    }
    return out;
}

std::wstring FormatWideV(size_t capacity, const wchar_t* format, va_list args) {
    if (capacity == 0 || format == nullptr) {
        return {};
    }
    // Most texts fit a small buffer; longer ones are formatted in full into a
    // memory stream and then cut.
    wchar_t small[512];
    va_list copy;
    va_copy(copy, args);
    const int n = std::vswprintf(small, sizeof small / sizeof small[0], format, copy);
    va_end(copy);
    std::wstring text;
    if (n >= 0) {
        text.assign(small, static_cast<size_t>(n));
    } else {
        wchar_t* buffer = nullptr;
        size_t length = 0;
        FILE* stream = open_wmemstream(&buffer, &length);
        if (stream == nullptr) {
            return {};
        }
        va_copy(copy, args);
        const int written = std::vfwprintf(stream, format, copy);
        va_end(copy);
        std::fclose(stream);
        if (written >= 0 && buffer != nullptr) {
            text.assign(buffer, length);
        }
        std::free(buffer);
    }
    if (text.size() > capacity - 1) {
        text.resize(capacity - 1);
    }
    return text;
}

std::wstring FormatWide(size_t capacity, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    std::wstring text = FormatWideV(capacity, format, args);
    va_end(args);
    return text;
}

}  // namespace plat
