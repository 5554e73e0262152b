#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tervan::cli {

// "1B 06": two upper-case hex digits a byte, separated by single spaces.
std::string FormatHex(std::span<const std::uint8_t> bytes);

} // namespace tervan::cli
