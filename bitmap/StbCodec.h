#pragma once

#include "bitmap/Levels.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The few calls of Debian's stb headers the picture code uses, behind a header of our own: only
// StbCodec.cpp sees the third-party sources, compiled there once.
namespace tervan::stb {

struct HeaderSize {
    int width = 0;
    int height = 0;
};

// The size a picture's header declares, read without decoding; nullopt when no format we decode
// (PNG, JPEG, GIF, BMP, TGA, PNM) recognises the bytes.
std::optional<HeaderSize> ReadHeaderSize(std::span<const std::uint8_t> file);

// Decodes the first image to `channels` 8-bit values a pixel (1 grey, 2 grey and alpha, 3 RGB,
// 4 RGBA; 0: as many as the file stores), the top line first; stb's grey is the usual luma of the
// colours. The number of channels delivered, 0 when the data is broken.
int Decode(std::span<const std::uint8_t> file, int channels, Levels& pixels, int& width,
           int& height);

// Resamples a grey picture (rows of `width` bytes) to another size with stb's default filters.
bool ResizeGrey(const std::uint8_t* in, int width, int height, std::uint8_t* out, int outWidth,
                int outHeight);

// A grey PNG of rows of `width` bytes, in memory; empty when encoding fails.
std::vector<std::uint8_t> EncodeGreyPng(const std::uint8_t* pixels, int width, int height);

} // namespace tervan::stb
