#pragma once

#include "bitmap/Palette.h"

#include <cstdint>
#include <span>

namespace tervan {

// Turns one row of a 1-bit BMP into printer dots, in place. The bytes that hold the picture's
// `width` dots are complemented for a dark-first palette (the file's 0 is dark, the printer's 1
// prints) and left as they are for a light-first one; in either case the bits right of the width
// in the last of them are cleared. The padding bytes after them keep the file's values.
// Requires 0 < width <= 8 x row.size().
void ConvertRow(std::span<std::uint8_t> row, std::int32_t width, PaletteOrder order);

} // namespace tervan
