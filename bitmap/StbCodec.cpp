// Debian's stb headers compiled once, here. Only the decoders users' logos come in are built;
// nothing is read from or written to files by stb itself, so paths never pass through its narrow
// fopen.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_ONLY_PNM
#include <stb_image.h>

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb_image_resize.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "bitmap/StbCodec.h"

#include "bitmap/StbGuard.h"

#include <climits>
#include <cstring>

namespace tervan::stb {

namespace {

// What stb may be given: lengths as int, and no JPEG table it would overrun.
bool Acceptable(std::span<const std::uint8_t> file) {
    return !file.empty() && file.size() <= static_cast<std::size_t>(INT_MAX) && SafeForStb(file);
}

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

} // namespace

std::optional<HeaderSize> ReadHeaderSize(std::span<const std::uint8_t> file) {
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!Acceptable(file) || stbi_info_from_memory(file.data(), static_cast<int>(file.size()),
                                                   &width, &height, &channels) == 0) {
        return std::nullopt;
    }
    return HeaderSize{width, height};
}

int Decode(std::span<const std::uint8_t> file, int channels, Levels& pixels, int& width,
           int& height) {
    if (!Acceptable(file)) {
        return 0;
    }
    int stored = 0;
    stbi_uc* block = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width,
                                           &height, &stored, channels);
    const int delivered = channels != 0 ? channels : stored;
    const bool whole = block != nullptr && width > 0 && height > 0 && delivered > 0;
    // Taken over as it stands, whole or not, so that it is freed either way.
    pixels = Levels::TakeOver(
        block,
        whole ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * delivered : 0,
        &stbi_image_free);
    return whole ? delivered : 0;
}

bool ResizeGrey(const std::uint8_t* in, int width, int height, std::uint8_t* out, int outWidth,
                int outHeight) {
    return stbir_resize_uint8_generic(in, width, height, 0, out, outWidth, outHeight, 0, 1,
                                      STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                      STBIR_FILTER_DEFAULT, STBIR_COLORSPACE_LINEAR, nullptr) != 0;
}

std::vector<std::uint8_t> EncodeGreyPng(const std::uint8_t* pixels, int width, int height) {
    std::vector<std::uint8_t> png;
    if (stbi_write_png_to_func(AppendBytes, &png, width, height, 1, pixels, width) == 0) {
        png.clear();
    }
    return png;
}

} // namespace tervan::stb
