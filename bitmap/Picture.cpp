#include "bitmap/Picture.h"

#include "base/FileBytes.h"
#include "bitmap/StbCodec.h"

#include <system_error>

namespace tervan {

namespace {

// The channels to ask stb for. A JPEG carries no transparency and goes straight to grey, which
// saves the colour conversion and two thirds of the memory. A PNM comes as it is stored: Debian's
// stb sizes the buffer of a 16-bit one wrongly when it converts it on the way. Everything else
// comes with its alpha (a PNG may even keep transparency in a colour key its header does not
// announce).
int ChannelsToAsk(std::span<const std::uint8_t> file) {
    if (file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF) {
        return 1;
    }
    return file.size() >= 2 && file[0] == 'P' ? 0 : 2;
}

// ITU-R BT.601 luma, in stb's own integer weights.
std::uint8_t Luma(unsigned red, unsigned green, unsigned blue) {
    return static_cast<std::uint8_t>((red * 77u + green * 150u + blue * 29u) >> 8);
}

// Grey levels of decoded pixels, transparency laid on white.
Levels ToGrey(Levels pixels, int channels) {
    if (channels == 1) {
        return pixels;
    }
    const auto step = static_cast<std::size_t>(channels);
    Levels grey(pixels.size() / step);
    for (std::size_t i = 0; i < grey.size(); ++i) {
        const std::uint8_t* p = pixels.data() + i * step;
        const unsigned level = channels < 3 ? p[0] : Luma(p[0], p[1], p[2]);
        const unsigned alpha = channels % 2 == 0 ? p[step - 1] : 255u;
        grey[i] = static_cast<std::uint8_t>((level * alpha + 255u * (255u - alpha) + 127u) / 255u);
    }
    return grey;
}

} // namespace

PictureResult DecodePicture(std::span<const std::uint8_t> file, std::uint64_t maxPixels) {
    PictureResult result;
    const auto header = stb::ReadHeaderSize(file);
    if (!header || header->width <= 0 || header->height <= 0) {
        return result;
    }
    result.declaredWidth = header->width;
    result.declaredHeight = header->height;
    if (static_cast<std::uint64_t>(header->width) * static_cast<std::uint64_t>(header->height) >
        maxPixels) {
        result.outcome = PictureOutcome::TooManyPixels;
        return result;
    }
    Levels pixels;
    GreyPicture& picture = result.picture;
    const int channels =
        stb::Decode(file, ChannelsToAsk(file), pixels, picture.width, picture.height);
    if (channels == 0 ||
        static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height) >
            maxPixels) {
        result.picture = {};
        return result;
    }
    picture.levels = ToGrey(std::move(pixels), channels);
    result.outcome = PictureOutcome::Decoded;
    return result;
}

PictureResult LoadPictureFile(const std::filesystem::path& path) {
    Bytes content;
    PictureResult result;
    // Told by its size before anything is read; the read's limit catches a file that grows.
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) &&
        std::filesystem::file_size(path, error) > kMaxPictureFileSize && !error) {
        result.outcome = PictureOutcome::FileTooLarge;
        return result;
    }
    switch (ReadFileStart(path, kMaxPictureFileSize + 1, content)) {
    case FileReadOutcome::Read:
        if (content.size() > kMaxPictureFileSize) {
            result.outcome = PictureOutcome::FileTooLarge;
            return result;
        }
        return DecodePicture(content);
    case FileReadOutcome::OpenFailed:
        result.outcome = PictureOutcome::OpenFailed;
        return result;
    case FileReadOutcome::NotRegular:
    case FileReadOutcome::ReadFailed:
        break;
    }
    result.outcome = PictureOutcome::ReadFailed;
    return result;
}

} // namespace tervan
