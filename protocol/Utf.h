#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The form holds texts as UTF-16 (as the window's controls do); the command line gets UTF-8.
// Empty when the input is not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace tervan
