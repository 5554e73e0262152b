#include "cli/LogoInput.h"

#include "base/FileBytes.h"
#include "bitmap/BitmapMessages.h"
#include "bitmap/LogoSource.h"
#include "cli/LinkOptions.h"

namespace tervan::cli {

namespace {

std::optional<LoadResult> LoadBmp(const std::string& file) {
    LoadResult load = LoadBitmapFile(ArgumentPath(file));
    if (const auto refused = LoadMessage(load.Outcome())) {
        std::string text = file + ": " + std::string(LoadString(*refused));
        if (load.Outcome() == LoadOutcome::NotMonochrome) {
            text += " (--dither fs converts it, as do --width and --paper)";
        }
        PrintText(text);
        return std::nullopt;
    }
    return load;
}

} // namespace

std::optional<LogoDots> ConvertPictureFile(const std::string& file, const ConvertOptions& options) {
    const PictureResult picture = LoadPictureFile(ArgumentPath(file));
    if (picture.outcome != PictureOutcome::Decoded) {
        PrintText(file + ": " + PictureMessage(picture, UiLanguage()));
        return std::nullopt;
    }
    ConvertResult converted = ConvertPicture(picture.picture, options);
    if (converted.outcome != ConvertOutcome::Converted) {
        PrintText(file + ": " + ConvertMessage(converted, UiLanguage()));
        return std::nullopt;
    }
    return std::move(converted.dots);
}

std::optional<LoadResult> LoadLogoInput(const std::string& file,
                                        const ConversionInputs& conversion) {
    const auto options = CheckConversionOptions(conversion);
    if (!options) {
        return std::nullopt;
    }
    if (!ConversionAsked(conversion)) {
        Bytes start;
        if (ReadFileStart(ArgumentPath(file), kMaxBitmapFileSize, start) != FileReadOutcome::Read ||
            TakesBmpPath(start)) {
            return LoadBmp(file);
        }
    }
    auto dots = ConvertPictureFile(file, *options);
    if (!dots) {
        return std::nullopt;
    }
    PrintText(file + ": " + std::to_string(dots->width) + " x " +
              std::to_string(dots->rows.height) + " dots");
    return LoadResult(std::move(dots->rows));
}

} // namespace tervan::cli
