#pragma once

#include "bitmap/Dither.h"
#include "link/Link.h"

#include <filesystem>
#include <span>

namespace tervan {

// The logo as a 1-bit BMP: palette black then white, rows stored bottom line first, so that the
// BMP loader reads back exactly these dots. Empty for dots that describe no picture.
Bytes EncodeLogoBmp(const LogoDots& dots);

// A grey PNG of what the printer prints: one pixel a dot, black where a dot prints. Empty when
// encoding fails.
Bytes EncodeLogoPng(const LogoDots& dots);

enum class WriteOutcome {
    Written,
    NotAFile, // the path names a directory, a FIFO or a device: it is left alone
    Failed,   // the folder is missing or not writable, or the disk is full
};

// Whether `path` is free for WriteFileWhole: missing, or a regular file it would replace.
bool IsFileOrFree(const std::filesystem::path& path);

// Writes `bytes` to `path` through a temporary file beside it, so the file appears whole or an
// older one stays as it was.
WriteOutcome WriteFileWhole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace tervan
