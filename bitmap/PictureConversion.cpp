#include "bitmap/PictureConversion.h"

#include "bitmap/BitmapFile.h"
#include "bitmap/BmpHeader.h"

namespace tervan {

namespace {

// Both headers and the two palette entries of the BMP the logo is written as.
constexpr std::uint64_t kLogoBmpHeader = kFileHeaderSize + kInfoHeaderSize + 2 * 4;

} // namespace

std::uint64_t LogoBmpSize(int width, int height) {
    return kLogoBmpHeader +
           static_cast<std::uint64_t>(BmpStride(width)) * static_cast<std::uint64_t>(height);
}

int LargestLogoHeight(int width) {
    const auto stride = static_cast<std::uint64_t>(BmpStride(width));
    return stride == 0 ? 0 : static_cast<int>((kMaxBitmapFileSize - kLogoBmpHeader) / stride);
}

ConvertResult ConvertPicture(const GreyPicture& picture, const ConvertOptions& options) {
    ConvertResult result;
    result.size = FittedSize({picture.width, picture.height}, options.fit);
    result.largestHeight = LargestLogoHeight(result.size.width);
    if (result.size.width <= 0) {
        return result;
    }
    if (LogoBmpSize(result.size.width, result.size.height) > kMaxBitmapFileSize) {
        result.outcome = ConvertOutcome::OverSlot;
        return result;
    }
    const GreyPicture fitted = FitPicture(picture, result.size);
    if (fitted.levels.empty()) {
        return result;
    }
    result.dots = Dither(fitted, options.dither);
    result.outcome = ConvertOutcome::Converted;
    return result;
}

} // namespace tervan
