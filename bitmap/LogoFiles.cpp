#include "bitmap/LogoFiles.h"

#include "bitmap/BmpHeader.h"
#include "bitmap/PictureConversion.h"
#include "bitmap/StbCodec.h"

#include <cstdint>
#include <fstream>
#include <system_error>

namespace tervan {

namespace {

void PutLe(Bytes& bytes, std::size_t at, std::uint32_t value, int count = 4) {
    for (int i = 0; i < count; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

constexpr std::uint8_t kBlack = 0x00;
constexpr std::uint8_t kWhite = 0xFF;

} // namespace

Bytes EncodeLogoBmp(const LogoDots& dots) {
    const BitmapRows& rows = dots.rows;
    const std::uint64_t fileSize = LogoBmpSize(dots.width, rows.height);
    if (dots.width <= 0 || rows.height <= 0 || rows.stride != BmpStride(dots.width) ||
        fileSize > UINT32_MAX) {
        return {};
    }
    const auto size = static_cast<std::uint32_t>(fileSize);
    const std::size_t header = size - static_cast<std::size_t>(rows.stride) * rows.height;
    Bytes bmp(size, 0);
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLe(bmp, 2, size);
    PutLe(bmp, 10, static_cast<std::uint32_t>(header));
    PutLe(bmp, 14, kInfoHeaderSize);
    PutLe(bmp, 18, static_cast<std::uint32_t>(dots.width));
    PutLe(bmp, 22, static_cast<std::uint32_t>(rows.height));
    PutLe(bmp, 26, 1, 2); // planes
    PutLe(bmp, 28, 1, 2); // bits a pixel
    PutLe(bmp, 34,
          static_cast<std::uint32_t>(rows.stride) * static_cast<std::uint32_t>(rows.height));
    PutLe(bmp, 38, 2835); // 72 dots an inch
    PutLe(bmp, 42, 2835);
    PutLe(bmp, 46, 2);          // colours used
    PutLe(bmp, 58, 0x00FFFFFF); // entry 0 black (zeros already), entry 1 white
    // Index 0 is black, so a printing dot is a clear bit; the bits right of the width stay clear.
    const auto used = static_cast<std::size_t>((dots.width + 7) / 8);
    const unsigned shift = static_cast<unsigned>(used * 8 - static_cast<std::size_t>(dots.width));
    for (int r = 0; r < rows.height; ++r) {
        const auto source = rows.Row(r);
        std::uint8_t* target =
            bmp.data() + header +
            static_cast<std::size_t>(rows.height - 1 - r) * static_cast<std::size_t>(rows.stride);
        for (std::size_t i = 0; i < used; ++i) {
            target[i] = static_cast<std::uint8_t>(~source[i]);
        }
        target[used - 1] &= static_cast<std::uint8_t>(0xFFu << shift);
    }
    return bmp;
}

Bytes EncodeLogoPng(const LogoDots& dots) {
    const auto width = static_cast<std::size_t>(dots.width);
    std::vector<std::uint8_t> pixels(width * static_cast<std::size_t>(dots.rows.height), kWhite);
    for (int r = 0; r < dots.rows.height; ++r) {
        const auto row = dots.rows.Row(r);
        for (std::size_t x = 0; x < width; ++x) {
            if ((row[x >> 3] & (0x80u >> (x & 7))) != 0) {
                pixels[static_cast<std::size_t>(r) * width + x] = kBlack;
            }
        }
    }
    return stb::EncodeGreyPng(pixels.data(), dots.width, dots.rows.height);
}

bool IsFileOrFree(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
}

WriteOutcome WriteFileWhole(const std::filesystem::path& path,
                            std::span<const std::uint8_t> bytes) {
    if (!IsFileOrFree(path)) {
        return WriteOutcome::NotAFile;
    }
    std::error_code error;
    std::filesystem::path partial = path;
    partial += ".part";
    if (std::filesystem::exists(std::filesystem::symlink_status(partial, error))) {
        std::filesystem::remove(partial, error); // a leftover of a run that was killed
        if (error) {
            return WriteOutcome::Failed;
        }
    }
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(partial, error);
            return WriteOutcome::Failed;
        }
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

} // namespace tervan
