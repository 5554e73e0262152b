#include "bitmap/BitmapMessages.h"

namespace tervan {

std::optional<StringId> LoadMessage(LoadOutcome outcome) {
    switch (outcome) {
    case LoadOutcome::Loaded:
        return std::nullopt;
    case LoadOutcome::OpenFailed:
    case LoadOutcome::ReadFailed:
    case LoadOutcome::Truncated:
        return StringId::FileReadFailure;
    case LoadOutcome::TooLarge:
        return StringId::FileTooLarge;
    case LoadOutcome::NotMonochrome:
    case LoadOutcome::Unsupported:
    case LoadOutcome::Malformed:
        return StringId::NotMonochrome;
    }
    return StringId::FileReadFailure;
}

std::string PictureMessage(const PictureResult& result, Language language) {
    switch (result.outcome) {
    case PictureOutcome::Decoded:
        return {};
    case PictureOutcome::OpenFailed:
    case PictureOutcome::ReadFailed:
        return std::string(LoadString(StringId::FileReadFailure, language));
    case PictureOutcome::FileTooLarge:
        return std::string(LoadString(StringId::PictureFileTooLarge, language));
    case PictureOutcome::NotAPicture:
        return std::string(LoadString(StringId::NotAPicture, language));
    case PictureOutcome::TooManyPixels:
        return FormatString(
            LoadString(StringId::TooManyPixels, language),
            {std::to_string(result.declaredWidth), std::to_string(result.declaredHeight)});
    }
    return {};
}

std::string ConvertMessage(const ConvertResult& result, Language language) {
    switch (result.outcome) {
    case ConvertOutcome::Converted:
        return {};
    case ConvertOutcome::OverSlot:
        return FormatString(LoadString(StringId::LogoOverSlot, language),
                            {std::to_string(result.size.width), std::to_string(result.size.height),
                             std::to_string(LogoBmpSize(result.size.width, result.size.height)),
                             std::to_string(result.largestHeight)});
    case ConvertOutcome::Failed:
        return std::string(LoadString(StringId::Failure, language));
    }
    return {};
}

std::string DownloadText(const DownloadResult& result, Language language) {
    return FormatString(LoadString(result.message, language), {std::to_string(result.slot)});
}

std::string FillingText(const DownloadProgress& progress, Language language) {
    if (!progress.timeLeft) {
        return std::string(LoadString(StringId::Filling, language));
    }
    const auto seconds = progress.timeLeft->count();
    if (seconds < 120) {
        return FormatString(LoadString(StringId::FillingSeconds, language),
                            {std::to_string(seconds)});
    }
    return FormatString(LoadString(StringId::FillingMinutes, language),
                        {std::to_string((seconds + 30) / 60)});
}

} // namespace tervan
