#include "bitmap/BitmapFile.h"

#include "base/FileBytes.h"
#include "bitmap/BmpHeader.h"
#include "bitmap/Palette.h"
#include "bitmap/RowConversion.h"

#include <algorithm>

namespace tervan {

namespace {

// Where the rows are and how many; 64-bit so that no header value can overflow the checks.
struct RowLayout {
    std::uint64_t offset = 0;
    std::uint64_t stride = 0;
    std::uint64_t rows = 0;
    bool bottomUp = true;
};

std::optional<RowLayout> PlanRows(const BmpFileHeader& file, const BmpInfoHeader& info) {
    if (info.biHeight == 0 || info.biWidth <= 0 || file.bfOffBits > file.bfSize) {
        return std::nullopt;
    }
    RowLayout layout;
    layout.offset = file.bfOffBits;
    layout.stride = (static_cast<std::uint64_t>(info.biWidth) + 31) / 32 * 4;
    const std::int64_t height = info.biHeight;
    layout.rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    layout.bottomUp = height > 0;
    // The row length travels to the printer as 16 bits; only a file whose rows start at offset 0
    // could declare more.
    const std::uint64_t declared = file.bfSize - file.bfOffBits;
    if (layout.stride * layout.rows > declared || layout.stride > 0xFFFF) {
        return std::nullopt;
    }
    return layout;
}

} // namespace

LoadResult LoadBitmapBytes(std::span<const std::uint8_t> file) {
    const auto fileHeader = ReadFileHeader(file);
    if (!fileHeader) {
        return LoadOutcome::ReadFailed;
    }
    if (fileHeader->bfSize > kMaxBitmapFileSize) {
        return LoadOutcome::TooLarge;
    }
    const auto info = ReadInfoHeader(file);
    if (!info) {
        return LoadOutcome::ReadFailed;
    }
    if (info->biBitCount != 1) {
        return LoadOutcome::NotMonochrome;
    }
    // Anything else would hand header, palette or compressed bytes to the printer as dots.
    if (info->biSize < kInfoHeaderSize || info->biCompression != kUncompressed ||
        fileHeader->bfOffBits < PixelDataStart(*info)) {
        return LoadOutcome::Unsupported;
    }
    const auto layout = PlanRows(*fileHeader, *info);
    if (!layout) {
        return LoadOutcome::Malformed;
    }
    const std::uint64_t dataSize = layout->stride * layout->rows;
    if (file.size() < layout->offset + dataSize) {
        return LoadOutcome::Truncated;
    }

    const PaletteOrder order = ReadPaletteOrder(file, *info, fileHeader->bfOffBits);
    const auto stride = static_cast<std::size_t>(layout->stride);
    const auto rowCount = static_cast<std::size_t>(layout->rows);
    const auto data =
        file.subspan(static_cast<std::size_t>(layout->offset), static_cast<std::size_t>(dataSize));
    BitmapRows rows;
    rows.stride = static_cast<int>(stride);
    rows.height = static_cast<int>(rowCount);
    rows.pixels.resize(static_cast<std::size_t>(dataSize));
    for (std::size_t r = 0; r < rowCount; ++r) {
        const std::size_t from = layout->bottomUp ? rowCount - 1 - r : r;
        const auto source = data.subspan(from * stride, stride);
        const auto target = std::span<std::uint8_t>(rows.pixels).subspan(r * stride, stride);
        std::copy(source.begin(), source.end(), target.begin());
        ConvertRow(target, info->biWidth, order);
    }
    return rows;
}

LoadResult LoadBitmapFile(const std::filesystem::path& path) {
    Bytes content;
    switch (ReadFileStart(path, kMaxBitmapFileSize, content)) {
    case FileReadOutcome::Read:
        return LoadBitmapBytes(content);
    case FileReadOutcome::OpenFailed:
        return LoadOutcome::OpenFailed;
    case FileReadOutcome::NotRegular:
    case FileReadOutcome::ReadFailed:
        return LoadOutcome::ReadFailed;
    }
    return LoadOutcome::ReadFailed;
}

} // namespace tervan
