#include "bitmap/Picture.h"

#include "bitmap/FileBytes.h"
#include "bitmap/StbCodec.h"

namespace tervan {

namespace {

// JPEG and binary PNM carry no transparency: decoding them straight to one grey channel saves
// the colour conversion and half the memory. Everything else may have some (PNG even in a
// colour key the header does not announce), so it comes with its alpha.
bool HasNoAlpha(std::span<const std::uint8_t> file) {
    const bool jpeg = file.size() >= 3 && file[0] == 0xFF && file[1] == 0xD8 && file[2] == 0xFF;
    const bool pnm = file.size() >= 2 && file[0] == 'P' && (file[1] == '5' || file[1] == '6');
    return jpeg || pnm;
}

// Grey and alpha pairs to grey laid on white.
std::vector<std::uint8_t> OnWhite(const std::vector<std::uint8_t>& greyAlpha) {
    std::vector<std::uint8_t> grey(greyAlpha.size() / 2);
    for (std::size_t i = 0; i < grey.size(); ++i) {
        const unsigned level = greyAlpha[2 * i];
        const unsigned alpha = greyAlpha[2 * i + 1];
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
    const int channels = HasNoAlpha(file) ? 1 : 2;
    std::vector<std::uint8_t> pixels;
    GreyPicture& picture = result.picture;
    if (!stb::Decode(file, channels, pixels, picture.width, picture.height) ||
        static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height) >
            maxPixels) {
        result.picture = {};
        return result;
    }
    picture.levels = channels == 1 ? std::move(pixels) : OnWhite(pixels);
    result.outcome = PictureOutcome::Decoded;
    return result;
}

PictureResult LoadPictureFile(const std::filesystem::path& path) {
    Bytes content;
    PictureResult result;
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
