#pragma once

#include "link/Link.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The Windows code page a name stands for: a number ("936"), "CP936", "windows-1252", or one of
// the common charset names ("UTF-8", "GB18030", "GBK", "Big5", "Shift_JIS", ...), case and
// separators aside. Empty for a name Windows has no code page for.
std::optional<unsigned> CodePageNumber(std::string_view name);

struct AnsiConversion {
    Bytes bytes;                  // no terminator
    bool usedDefaultChar = false; // some character had no mapping and became "?"
};

// Text (up to a NUL character, if it holds one) in the given code page, with composite
// characters made precomposed where the code page has them. Characters without a mapping become
// the code page's default character, and no look-alike is put in their place.
AnsiConversion WideToCodePage(std::u16string_view text, unsigned codePage);

// Index (in UTF-16 units) of the first character the code page cannot hold, or empty.
std::optional<std::size_t> FirstUnmappable(std::u16string_view text, unsigned codePage);

} // namespace tervan
