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

} // namespace tervan
