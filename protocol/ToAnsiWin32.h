#pragma once

#include <optional>
#include <string_view>

namespace tervan {

// The Windows code page a name stands for: a number ("936"), "CP936", "windows-1252", or one of
// the common charset names ("UTF-8", "GB18030", "GBK", "Big5", "Shift_JIS", ...), case and
// separators aside. Empty for a name Windows has no code page for.
std::optional<unsigned> CodePageNumber(std::string_view name);

} // namespace tervan
