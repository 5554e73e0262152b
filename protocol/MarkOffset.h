#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tervan {

// The printer takes the offset's magnitude in 16 bits; larger ones must be refused, not wrapped.
constexpr std::int64_t kMaxMarkOffset = 65535;

// The offset edit's text as the form reads it: at most 63 characters, leading
// white space, an optional sign, then digits up to the first other character; no digits give 0;
// values beyond the signed 32-bit range stop at its limits.
std::int32_t ParseMarkOffset(std::u16string_view text);

// The command line's stricter reading: an optional sign and decimal digits, nothing else ("+-100",
// "1e3", " 5", "0x10" and "" are not numbers). Very long numbers stop far beyond the range.
std::optional<std::int64_t> ParseWholeMarkOffset(std::u16string_view text);

// Whether the printer can take an offset: a magnitude of at most 65,535.
constexpr bool MarkOffsetInRange(std::int64_t value) {
    return value >= -kMaxMarkOffset && value <= kMaxMarkOffset;
}

} // namespace tervan
