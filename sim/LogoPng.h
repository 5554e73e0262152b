#pragma once

#include "sim/CommandDecoder.h"

#include <filesystem>

namespace tervan::sim {

// Writes the picture of a slot as it would come out of the printer: 8 x rowBytes pixels wide,
// the first row received on top, a set bit a black dot, the high bit of a byte leftmost.
// The file appears whole or not at all. False for an empty picture or when writing fails.
bool WriteLogoPng(const Logo& logo, const std::filesystem::path& path);

} // namespace tervan::sim
