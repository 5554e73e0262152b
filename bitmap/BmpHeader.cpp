#include "bitmap/BmpHeader.h"

namespace tervan {

namespace {

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t Le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

} // namespace

std::optional<BmpFileHeader> ReadFileHeader(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize) {
        return std::nullopt;
    }
    return BmpFileHeader{.bfSize = Le32(file, 2), .bfOffBits = Le32(file, 10)};
}

std::optional<BmpInfoHeader> ReadInfoHeader(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize) {
        return std::nullopt;
    }
    return BmpInfoHeader{.biSize = Le32(file, 14),
                         .biWidth = static_cast<std::int32_t>(Le32(file, 18)),
                         .biHeight = static_cast<std::int32_t>(Le32(file, 22)),
                         .biBitCount = Le16(file, 28),
                         .biCompression = Le32(file, 30),
                         .biClrUsed = Le32(file, 46)};
}

std::uint64_t PixelDataStart(const BmpInfoHeader& info) {
    constexpr std::uint64_t kEntrySize = 4;
    const std::uint64_t entries = info.biClrUsed == 1 ? 1 : 2;
    return kFileHeaderSize + std::uint64_t{info.biSize} + entries * kEntrySize;
}

} // namespace tervan
