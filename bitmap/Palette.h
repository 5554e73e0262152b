#pragma once

#include "bitmap/BmpHeader.h"

#include <cstdint>
#include <span>

namespace tervan {

// Which of the two colours of a 1-bit BMP index 0 stands for. Most tools write the dark colour
// first; some write white first, and their files would print as a negative if treated alike.
enum class PaletteOrder { DarkFirst, LightFirst };

// LightFirst only when both palette entries lie inside the file before the pixel data and entry 0
// is strictly lighter than entry 1; anything else counts as the usual dark-first palette.
PaletteOrder ReadPaletteOrder(std::span<const std::uint8_t> file, const BmpInfoHeader& info,
                              std::uint32_t bfOffBits);

} // namespace tervan
