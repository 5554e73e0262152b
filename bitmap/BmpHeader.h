#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tervan {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

// The fields of the BMP file header the loader uses; the others are ignored.
struct BmpFileHeader {
    std::uint32_t bfSize = 0;
    std::uint32_t bfOffBits = 0;
};

// The fields of the information header (always the 40 bytes after the file header) that the
// loader uses.
struct BmpInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biClrUsed = 0;
};

// biCompression of rows stored as they are.
constexpr std::uint32_t kUncompressed = 0;

// Where the pixel data may begin at the earliest: after both headers and the palette (two
// entries of four bytes, or the one entry biClrUsed may declare).
std::uint64_t PixelDataStart(const BmpInfoHeader& info);

// nullopt when `file` ends before the header does.
std::optional<BmpFileHeader> ReadFileHeader(std::span<const std::uint8_t> file);
std::optional<BmpInfoHeader> ReadInfoHeader(std::span<const std::uint8_t> file);

} // namespace tervan
