// Wide text. wchar_t is 4 bytes (UTF-32) here; files and the system take
// UTF-8 names and bytes.
//
// Formatting rule: a wide format string takes wide string arguments with
// "%ls" (with the C library's wide printf, "%s" means a narrow char string).
// Every log format that reads "%s" with a wide text argument is therefore
// written "%ls" in our sources.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Invalid code points (surrogates, beyond U+10FFFF) become U+FFFD.
std::string Utf8FromWide(std::wstring_view text);
// Malformed, overlong or truncated sequences become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);

// printf-style wide formatting into a text of at most capacity - 1
// characters (what fits a buffer of capacity characters with its
// terminator); longer results are cut. capacity 0 gives an empty text.
std::wstring FormatWide(size_t capacity, const wchar_t* format, ...);
std::wstring FormatWideV(size_t capacity, const wchar_t* format, va_list args);

}  // namespace plat
