#pragma once

#include "bitmap/Picture.h"

#include <optional>

namespace tervan {

// The width a picture is fitted to when none is asked for: the 72 mm paper's.
constexpr int kDefaultLogoDots = 576;

// The printable width in dots of a paper width in millimetres: 58, 72, 75 or 80.
std::optional<int> PaperDots(int millimetres);

struct FitOptions {
    std::optional<int> width{}; // dots; kDefaultLogoDots when not given
    bool upscale = false;       // enlarge a narrower picture to the width, too
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The size a picture of `source` size gets: the asked width (never wider than the source unless
// `upscale`), and the height that keeps the aspect ratio, at least one row.
PictureSize FittedSize(PictureSize source, const FitOptions& options);

// The picture resampled to `size`; a copy when it has that size already.
GreyPicture FitPicture(const GreyPicture& picture, PictureSize size);

} // namespace tervan
