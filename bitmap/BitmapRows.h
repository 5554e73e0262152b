#pragma once

#include "base/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace tervan {

// A logo ready for the printer: `height` rows of `stride` bytes each, the top line of the picture
// first whatever order the file stored them in, so a sender can go from row 0 upwards. Within a
// byte the most significant bit is the leftmost dot and a set bit prints; the row's padding bytes
// are the file's own.
struct BitmapRows {
    Bytes pixels;
    int stride = 0;
    int height = 0;

    // Row r, 0 <= r < height.
    std::span<const std::uint8_t> Row(int r) const {
        return std::span<const std::uint8_t>(pixels).subspan(static_cast<std::size_t>(r) *
                                                                 static_cast<std::size_t>(stride),
                                                             static_cast<std::size_t>(stride));
    }
};

} // namespace tervan
