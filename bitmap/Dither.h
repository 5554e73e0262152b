#pragma once

#include "bitmap/BitmapRows.h"
#include "bitmap/Picture.h"

#include <optional>

namespace tervan {

enum class DitherMethod {
    FloydSteinberg, // error diffusion over four neighbours; the default
    Atkinson,       // error diffusion, three quarters of the error kept: crisper, lighter shadows
    Ordered,        // an 8 x 8 Bayer matrix: a regular pattern, no wandering dots
    Threshold,      // each dot alone against one level
};

struct DitherOptions {
    DitherMethod method = DitherMethod::FloydSteinberg;
    std::optional<int> level{}; // Threshold: levels below it print; Otsu's choice when not given
    bool invert = false;        // swap the dots that print and those that do not
};

// A picture in printer dots: `width` dots a row, in rows laid out as a 1-bit BMP lays them out
// (padded to four bytes, the padding zero), the top row first, a set bit a dot that prints.
struct LogoDots {
    int width = 0;
    BitmapRows rows;
};

// The row length a 1-bit BMP of `width` dots has.
int BmpStride(int width);

// The level Otsu's method puts between the dark and the light levels of the picture: the one
// below which levels print. 128 for a picture of one level.
int OtsuLevel(const GreyPicture& picture);

// Grey levels to dots: a level below 128 prints, and the error methods spread what that rounding
// loses over the neighbours still to come, so a 50% grey prints about half its dots.
LogoDots Dither(const GreyPicture& picture, const DitherOptions& options);

} // namespace tervan
