#include "bitmap/Palette.h"

namespace tervan {

namespace {

constexpr std::size_t kEntrySize = 4; // blue, green, red, reserved

// Weighted brightness (ITU-R BT.601 weights, times 1000).
std::uint32_t Brightness(std::span<const std::uint8_t> entry) {
    return 114u * entry[0] + 587u * entry[1] + 299u * entry[2];
}

} // namespace

PaletteOrder ReadPaletteOrder(std::span<const std::uint8_t> file, const BmpInfoHeader& info,
                              std::uint32_t bfOffBits) {
    const std::uint64_t start = kFileHeaderSize + std::uint64_t{info.biSize};
    const std::uint64_t end = start + 2 * kEntrySize;
    if (end > bfOffBits || end > file.size()) {
        return PaletteOrder::DarkFirst;
    }
    const auto palette = file.subspan(static_cast<std::size_t>(start), 2 * kEntrySize);
    return Brightness(palette.first(kEntrySize)) > Brightness(palette.last(kEntrySize))
               ? PaletteOrder::LightFirst
               : PaletteOrder::DarkFirst;
}

} // namespace tervan
