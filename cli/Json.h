#pragma once

#include <string>
#include <string_view>

namespace tervan::cli {

// `text` as a JSON string, quotes included; bytes that are not UTF-8 become U+FFFD.
std::string JsonString(std::string_view raw);

} // namespace tervan::cli
