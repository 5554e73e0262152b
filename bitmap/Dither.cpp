#include "bitmap/Dither.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tervan {

namespace {

// Levels below this print when nothing else decides.
constexpr int kMiddle = 128;

constexpr std::array<std::array<std::uint8_t, 8>, 8> kBayer8{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

// Where the dots go; one row at a time.
class DotWriter {
public:
    explicit DotWriter(LogoDots& dots) : m_dots(dots) {}
    void Set(int y, int x) {
        m_dots.rows
            .pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_dots.rows.stride) +
                    static_cast<std::size_t>(x >> 3)] |=
            static_cast<std::uint8_t>(0x80u >> (x & 7));
    }

private:
    LogoDots& m_dots;
};

const std::uint8_t* Row(const GreyPicture& picture, int y) {
    return picture.levels.data() +
           static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width);
}

// Where the rounding error of a dot goes: to the dot `dx` to the right (negative: left) on the
// row `dy` below, `weight` parts of 2^shift. The errors are kept 2^shift times too large, so the
// weights stay whole numbers; a level takes its share rounded.
struct Tap {
    int dx;
    int dy;
    int weight;
};

struct Kernel {
    std::array<Tap, 6> taps;
    std::size_t count;
    int shift;
};

constexpr Kernel kFloydSteinberg{{{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}}, 4, 4};
// Only six eighths of the error are passed on: crisper, with lighter shadows.
constexpr Kernel kAtkinson{
    {{{1, 0, 1}, {2, 0, 1}, {-1, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 2, 1}}}, 6, 3};

// Row buffers have two spare entries on either side, where the error that would leave the
// picture sideways goes; what would leave it at the bottom is dropped.
constexpr int kMargin = 2;
constexpr std::size_t kRowsAhead = 3;

void Diffuse(const GreyPicture& picture, const Kernel& kernel, DotWriter& out) {
    const std::size_t span = static_cast<std::size_t>(picture.width) + 2 * kMargin;
    std::array<std::vector<int>, kRowsAhead> errors;
    errors.fill(std::vector<int>(span, 0));
    const int half = 1 << (kernel.shift - 1);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = Row(picture, y);
        std::array<int*, kRowsAhead> ahead{};
        for (std::size_t dy = 0; dy < kRowsAhead; ++dy) {
            ahead[dy] = errors[(static_cast<std::size_t>(y) + dy) % kRowsAhead].data();
        }
        std::fill_n(ahead[kRowsAhead - 1], span, 0);
        for (int x = 0; x < picture.width; ++x) {
            const int i = x + kMargin;
            const int level = row[x] + ((ahead[0][i] + half) >> kernel.shift);
            const bool prints = level < kMiddle;
            const int error = prints ? level : level - 255;
            if (prints) {
                out.Set(y, x);
            }
            for (std::size_t t = 0; t < kernel.count; ++t) {
                const Tap& tap = kernel.taps[t];
                ahead[static_cast<std::size_t>(tap.dy)][i + tap.dx] += error * tap.weight;
            }
        }
    }
}

void Ordered(const GreyPicture& picture, DotWriter& out) {
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = Row(picture, y);
        const auto& thresholds = kBayer8[static_cast<std::size_t>(y & 7)];
        for (int x = 0; x < picture.width; ++x) {
            // The 64 cells stand for the levels 2, 6, ... 254: a level prints in as many cells
            // as it lies below, so 128 prints in half of them.
            if (row[x] < 4 * thresholds[static_cast<std::size_t>(x & 7)] + 2) {
                out.Set(y, x);
            }
        }
    }
}

void Threshold(const GreyPicture& picture, int level, DotWriter& out) {
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t* row = Row(picture, y);
        for (int x = 0; x < picture.width; ++x) {
            if (row[x] < level) {
                out.Set(y, x);
            }
        }
    }
}

void Invert(LogoDots& dots) {
    const auto used = static_cast<std::size_t>((dots.width + 7) / 8);
    const unsigned shift = static_cast<unsigned>(used * 8 - static_cast<std::size_t>(dots.width));
    for (int y = 0; y < dots.rows.height; ++y) {
        std::uint8_t* row =
            dots.rows.pixels.data() +
            static_cast<std::size_t>(y) * static_cast<std::size_t>(dots.rows.stride);
        for (std::size_t i = 0; i < used; ++i) {
            row[i] = static_cast<std::uint8_t>(~row[i]);
        }
        row[used - 1] &= static_cast<std::uint8_t>(0xFFu << shift);
    }
}

} // namespace

int BmpStride(int width) {
    return static_cast<int>((static_cast<std::int64_t>(width) + 31) / 32 * 4);
}

int OtsuLevel(const GreyPicture& picture) {
    std::array<std::uint64_t, 256> histogram{};
    for (const std::uint8_t level : picture.levels) {
        ++histogram[level];
    }
    const double total = static_cast<double>(picture.levels.size());
    double sumAll = 0;
    for (std::size_t v = 0; v < histogram.size(); ++v) {
        sumAll += static_cast<double>(v) * static_cast<double>(histogram[v]);
    }
    // Between-class variance of the split "levels up to t" against the rest; where several splits
    // tie (the empty levels between two populations), the middle one.
    double best = 0;
    int first = -1;
    int last = -1;
    double weightDark = 0;
    double sumDark = 0;
    for (int t = 0; t < 255; ++t) {
        weightDark += static_cast<double>(histogram[static_cast<std::size_t>(t)]);
        sumDark += t * static_cast<double>(histogram[static_cast<std::size_t>(t)]);
        const double weightLight = total - weightDark;
        if (weightDark == 0 || weightLight == 0) {
            continue;
        }
        const double difference = sumDark / weightDark - (sumAll - sumDark) / weightLight;
        const double between = weightDark * weightLight * difference * difference;
        if (between > best * (1 + 1e-12)) {
            best = between;
            first = last = t;
        } else if (between >= best * (1 - 1e-12) && first >= 0) {
            last = t;
        }
    }
    return first < 0 ? kMiddle : (first + last) / 2 + 1;
}

LogoDots Dither(const GreyPicture& picture, const DitherOptions& options) {
    LogoDots dots;
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.levels.size() !=
            static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return dots;
    }
    dots.width = picture.width;
    dots.rows.stride = BmpStride(picture.width);
    dots.rows.height = picture.height;
    dots.rows.pixels.assign(
        static_cast<std::size_t>(dots.rows.stride) * static_cast<std::size_t>(dots.rows.height), 0);
    DotWriter out(dots);
    switch (options.method) {
    case DitherMethod::FloydSteinberg:
        Diffuse(picture, kFloydSteinberg, out);
        break;
    case DitherMethod::Atkinson:
        Diffuse(picture, kAtkinson, out);
        break;
    case DitherMethod::Ordered:
        Ordered(picture, out);
        break;
    case DitherMethod::Threshold:
        Threshold(picture, options.level ? *options.level : OtsuLevel(picture), out);
        break;
    }
    if (options.invert) {
        Invert(dots);
    }
    return dots;
}

} // namespace tervan
