#pragma once

#include <cstdint>
#include <span>

namespace tervan {

// Whether a file, by its first bytes (up to kMaxBitmapFileSize of them), goes the 1-bit BMP
// loader's way when no conversion is asked for: a BMP of any depth (the loader refuses the other
// depths with its own message), or a file the loader takes although it lacks the BMP signature.
// Anything else is a picture to decode and convert.
bool TakesBmpPath(std::span<const std::uint8_t> fileStart);

} // namespace tervan
