#pragma once

#include "protocol/SettingLimits.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The two readings of a mark offset's text, each used once, where a front end gathers its
// settings; the settings record carries the number.
namespace tervan {

// The window's reading of its edit: at most kOffsetReadLength characters, leading white space, an
// optional sign, then digits up to the first other character; no digits give 0; values beyond
// the signed 32-bit range stop at its limits.
std::int32_t ParseMarkOffset(std::u16string_view text);

// The command line's stricter reading: an optional sign and decimal digits, nothing else ("+-100",
// "1e3", " 5", "0x10" and "" are not numbers). Very long numbers stop far beyond the range.
std::optional<std::int64_t> ParseWholeMarkOffset(std::string_view text);

// Whether the printer can take an offset: a magnitude of at most kMaxMarkOffset.
constexpr bool MarkOffsetInRange(std::int64_t value) {
    return value >= -kMaxMarkOffset && value <= kMaxMarkOffset;
}

} // namespace tervan
