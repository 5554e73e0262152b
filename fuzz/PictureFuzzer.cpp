#include "bitmap/BitmapFile.h"
#include "bitmap/LogoFiles.h"
#include "bitmap/Picture.h"
#include "bitmap/PictureConversion.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Feeds arbitrary bytes to the picture decoder (users' files reach stb_image through it), checks
// the shape of what it returns, converts what decodes and checks that the BMP written from the
// dots loads back as the same dots.
namespace {

// Small enough that a header declaring a large picture cannot slow the fuzzing down.
constexpr std::uint64_t kFuzzMaxPixels = 1 << 20;

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tervan;
    const PictureResult result = DecodePicture(std::span(data, size), kFuzzMaxPixels);
    const GreyPicture& picture = result.picture;
    if (result.outcome != PictureOutcome::Decoded) {
        Check(picture.levels.empty(), "no levels unless decoded");
        return 0;
    }
    Check(picture.width > 0 && picture.height > 0, "a size");
    Check(static_cast<std::uint64_t>(picture.width) * static_cast<std::uint64_t>(picture.height) <=
              kFuzzMaxPixels,
          "within the pixel limit");
    Check(picture.levels.size() ==
              static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height),
          "one level a pixel");

    // stb's resampler sets up its filter in time that grows with the square of the height: a tall
    // picture would only slow the fuzzing down.
    constexpr int kMaxConvertedHeight = 4096;
    if (picture.height > kMaxConvertedHeight) {
        return 0;
    }
    // The last byte picks the method and the width, so the corpus explores them too.
    const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
    ConvertOptions options;
    options.fit.width = 1 + pick % 97;
    options.fit.upscale = (pick & 0x80) != 0;
    options.dither.method = static_cast<DitherMethod>(pick % 4);
    options.dither.invert = (pick & 0x40) != 0;
    const ConvertResult converted = ConvertPicture(picture, options);
    if (converted.outcome != ConvertOutcome::Converted) {
        Check(converted.outcome == ConvertOutcome::OverSlot, "only the slot refuses");
        return 0;
    }
    const LogoDots& dots = converted.dots;
    Check(dots.width == converted.size.width && dots.rows.height == converted.size.height,
          "the fitted size");
    const LoadResult back = LoadBitmapBytes(EncodeLogoBmp(dots));
    Check(back.Rows() != nullptr && back.Rows()->pixels == dots.rows.pixels &&
              back.Rows()->stride == dots.rows.stride,
          "the written BMP loads back as the same dots");
    return 0;
}
