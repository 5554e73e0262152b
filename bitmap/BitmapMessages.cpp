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
