#include "bitmap/RowConversion.h"

namespace tervan {

void ConvertRow(std::span<std::uint8_t> row, std::int32_t width, PaletteOrder order) {
    const auto used = static_cast<std::size_t>((static_cast<std::int64_t>(width) + 7) / 8);
    if (used == 0 || used > row.size()) {
        return;
    }
    const auto dots = row.first(used);
    if (order == PaletteOrder::DarkFirst) {
        for (std::uint8_t& b : dots) {
            b = static_cast<std::uint8_t>(~b);
        }
    }
    const unsigned shift = static_cast<unsigned>(used * 8 - static_cast<std::size_t>(width));
    dots.back() &= static_cast<std::uint8_t>(0xFFu << shift);
}

} // namespace tervan
