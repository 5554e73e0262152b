#pragma once

#include "bitmap/Dither.h"
#include "bitmap/PictureFit.h"

#include <cstdint>

namespace tervan {

struct ConvertOptions {
    FitOptions fit{};
    DitherOptions dither{};
};

// The bytes a logo of this size takes as a 1-bit BMP: headers and a two-colour palette, then
// the padded rows. The printer's slot takes at most kMaxBitmapFileSize.
std::uint64_t LogoBmpSize(int width, int height);

// The most rows a logo `width` dots wide may have to stay within the slot.
int LargestLogoHeight(int width);

enum class ConvertOutcome {
    Converted,
    OverSlot, // the fitted picture would not fit in a slot; nothing was resampled
    Failed,   // resampling failed (out of memory)
};

struct ConvertResult {
    ConvertOutcome outcome = ConvertOutcome::Failed;
    PictureSize size;      // the fitted size, also when over the slot
    int largestHeight = 0; // LargestLogoHeight(size.width)
    LogoDots dots;         // Converted only
};

// Fits a decoded picture to the paper and dithers it. The size is checked against the slot
// before any resampling. The picture is left as it is, so a caller showing a preview can convert
// it again with other options.
ConvertResult ConvertPicture(const GreyPicture& picture, const ConvertOptions& options);

} // namespace tervan
