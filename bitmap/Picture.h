#pragma once

#include "bitmap/Levels.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace tervan {

// Pictures beyond this many pixels are refused from their header, before any decoding: a logo
// never needs them, and decoding one would take hundreds of megabytes.
constexpr std::uint64_t kMaxPicturePixels = 50'000'000;
// The most a picture file may hold; a 50-megapixel picture stored uncompressed stays below it.
constexpr std::size_t kMaxPictureFileSize = std::size_t{512} << 20;

// A picture as grey levels, 0 black to 255 white, `width` levels a row, the top row first.
struct GreyPicture {
    int width = 0;
    int height = 0;
    Levels levels;
};

enum class PictureOutcome {
    Decoded,
    OpenFailed,    // no such file, a directory, or not readable
    ReadFailed,    // not a regular file, or reading it failed
    FileTooLarge,  // more than kMaxPictureFileSize bytes
    NotAPicture,   // no format we decode recognises it, or its data is broken
    TooManyPixels, // the header declares more than the limit
};

struct PictureResult {
    PictureOutcome outcome = PictureOutcome::NotAPicture;
    GreyPicture picture;   // Decoded only
    int declaredWidth = 0; // from the header, when it could be read
    int declaredHeight = 0;
};

// PNG, JPEG, GIF (its first frame), BMP of any depth without compression, TGA and binary PNM, to
// grey levels with the usual luma weights. Transparent parts are laid on white.
PictureResult DecodePicture(std::span<const std::uint8_t> file,
                            std::uint64_t maxPixels = kMaxPicturePixels);

// The same for a file on disk; only regular files are read.
PictureResult LoadPictureFile(const std::filesystem::path& path);

} // namespace tervan
