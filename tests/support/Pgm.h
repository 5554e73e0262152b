#pragma once

#include "link/Link.h"

#include <string>

namespace tervan::test {

// A binary greymap: the simplest picture file to write out by hand, 0 black to 255 white.
inline Bytes Pgm(int width, int height, const Bytes& levels) {
    const std::string header =
        "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    Bytes file(header.begin(), header.end());
    file.insert(file.end(), levels.begin(), levels.end());
    return file;
}

} // namespace tervan::test
