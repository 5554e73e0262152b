#pragma once

#include <string>
#include <string_view>

namespace tervan {

// The program keeps its texts in UTF-8; the wide Win32 calls take UTF-16. Invalid input becomes
// U+FFFD rather than a silently shortened string.
std::wstring WidenUtf8(std::string_view text);
std::string NarrowToUtf8(std::wstring_view text);

} // namespace tervan
