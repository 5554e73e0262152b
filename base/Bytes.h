#pragma once

#include <cstdint>
#include <vector>

namespace tervan {

// Bytes as they go to or come from the printer, and as files hold them.
using Bytes = std::vector<std::uint8_t>;

} // namespace tervan
