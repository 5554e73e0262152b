#include "bitmap/PictureFit.h"

#include "bitmap/StbCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tervan {

namespace {

// stb's filter sees at least this many source pixels per output pixel after the box reduction.
constexpr int kOversampling = 2;

// Averages k x k blocks (the last ones of a row or column may be smaller). A photo shrunk many
// times is first brought down this way, which costs a few additions a pixel, so that stb's
// filter, which costs far more, sees only a few times the output's pixels; the two together
// look like one good filter, and a new width on a decoded photo stays quick.
GreyPicture BoxReduce(const GreyPicture& picture, int k) {
    GreyPicture out;
    out.width = (picture.width + k - 1) / k;
    out.height = (picture.height + k - 1) / k;
    out.levels = Levels(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(picture.width));
    const auto width = static_cast<std::size_t>(picture.width);
    for (int oy = 0; oy < out.height; ++oy) {
        const int y0 = oy * k;
        const int rows = std::min(k, picture.height - y0);
        std::fill(columns.begin(), columns.end(), 0u);
        for (int y = y0; y < y0 + rows; ++y) {
            const std::uint8_t* row = picture.levels.data() + static_cast<std::size_t>(y) * width;
            for (std::size_t x = 0; x < width; ++x) {
                columns[x] += row[x];
            }
        }
        std::uint8_t* target = out.levels.data() + static_cast<std::size_t>(oy) * out.width;
        for (int ox = 0; ox < out.width; ++ox) {
            const int x0 = ox * k;
            const int cols = std::min(k, picture.width - x0);
            std::uint32_t sum = 0;
            for (int x = x0; x < x0 + cols; ++x) {
                sum += columns[static_cast<std::size_t>(x)];
            }
            const auto count = static_cast<std::uint32_t>(rows * cols);
            target[ox] = static_cast<std::uint8_t>((sum + count / 2) / count);
        }
    }
    return out;
}

} // namespace

std::optional<int> PaperDots(int millimetres) {
    constexpr std::array<std::pair<int, int>, 4> kPapers{
        {{58, 384}, {72, 576}, {75, 600}, {80, 640}}};
    for (const auto& [mm, dots] : kPapers) {
        if (mm == millimetres) {
            return dots;
        }
    }
    return std::nullopt;
}

PictureSize FittedSize(PictureSize source, const FitOptions& options) {
    if (source.width <= 0 || source.height <= 0) {
        return {};
    }
    const int asked = std::max(1, options.width.value_or(kDefaultLogoDots));
    if (source.width <= asked && !options.upscale) {
        return source;
    }
    const std::int64_t height =
        (std::int64_t{source.height} * asked * 2 + source.width) / (std::int64_t{source.width} * 2);
    return {asked, static_cast<int>(std::clamp<std::int64_t>(height, 1, INT32_MAX))};
}

GreyPicture FitPicture(const GreyPicture& picture, PictureSize size) {
    if (size.width <= 0 || size.height <= 0 || picture.width <= 0 || picture.height <= 0) {
        return {};
    }
    if (size.width == picture.width && size.height == picture.height) {
        return picture;
    }
    const int k = std::max(1, std::min(picture.width / size.width, picture.height / size.height) /
                                  kOversampling);
    GreyPicture reduced;
    if (k > 1) {
        reduced = BoxReduce(picture, k);
    }
    const GreyPicture& source = k > 1 ? reduced : picture;
    GreyPicture out;
    out.width = size.width;
    out.height = size.height;
    out.levels =
        Levels(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    if (!stb::ResizeGrey(source.levels.data(), source.width, source.height, out.levels.data(),
                         out.width, out.height)) {
        return {};
    }
    return out;
}

} // namespace tervan
