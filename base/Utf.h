#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The form holds texts as UTF-16 (as the window's controls do); the command line gets UTF-8.
// Empty when the input is not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
// For text that must be shown whatever it holds: each byte that starts no character becomes
// U+FFFD.
std::u16string Utf8ToUtf16Lossy(std::string_view text);
// The bytes of `text` up to a character cut off at its end (all of them when none is): a stream
// keeps the rest until the next bytes complete it.
std::size_t WholeUtf8Length(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace tervan
