#pragma once

#include "bitmap/BitmapRows.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <utility>

namespace tervan {

// The largest declared file size (bfSize) a logo may have; exactly this much is accepted.
constexpr std::uint32_t kMaxBitmapFileSize = 65536;

// The failures are checked in the order listed, the first decides; only the information header
// is read after the size test, so a short file declaring too much is TooLarge.
enum class LoadOutcome {
    Loaded,
    OpenFailed,    // no such file, or it cannot be opened for reading
    ReadFailed,    // the file ends inside the file header or the information header
    TooLarge,      // bfSize above kMaxBitmapFileSize
    NotMonochrome, // biBitCount other than 1
    Unsupported,   // rows this loader cannot read as they stand: compressed, an information header
                   // smaller than 40 bytes (the 12-byte core header included), or pixel data that
                   // would begin inside the headers or the palette
    Malformed,     // biHeight 0, biWidth not positive, bfOffBits past bfSize, declared data
                   // short of the rows, or rows longer than StoreBitmap can announce
    Truncated,     // the file ends before the last row it declares
};

// Either the rows of a loaded file or why there are none; the outcome is Loaded exactly when rows
// are held.
class LoadResult {
public:
    // A failure; Loaded comes only with rows, so on its own it reads as Malformed.
    LoadResult(LoadOutcome failure)
        : m_failure(failure == LoadOutcome::Loaded ? LoadOutcome::Malformed : failure) {}
    LoadResult(BitmapRows rows) : m_rows(std::move(rows)) {}

    LoadOutcome Outcome() const { return m_rows ? LoadOutcome::Loaded : m_failure; }
    // Null unless loaded.
    const BitmapRows* Rows() const { return m_rows ? &*m_rows : nullptr; }

private:
    LoadOutcome m_failure = LoadOutcome::Malformed;
    std::optional<BitmapRows> m_rows;
};

// Checks and converts a whole 1-bit BMP held in memory. Rows are `((biWidth + 31) / 32) * 4` bytes
// long, as the format lays them out; declared bytes after the last row are ignored. A negative
// biHeight (rows stored top line first) is accepted, and so is a palette that names the light
// colour first: either way the dark dots are the ones that print. Never reads outside `file`.
LoadResult LoadBitmapBytes(std::span<const std::uint8_t> file);

// The same for a file on disk, opened for reading only; reads no more than the largest file a
// logo may have. What is not a regular file (a FIFO, a device) is refused as ReadFailed without
// waiting on it; a directory or a file that cannot be opened is OpenFailed.
LoadResult LoadBitmapFile(const std::filesystem::path& path);

} // namespace tervan
