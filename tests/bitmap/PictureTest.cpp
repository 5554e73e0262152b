#include "bitmap/Picture.h"
#include "bitmap/BitmapMessages.h"
#include "bitmap/LogoFiles.h"
#include "bitmap/LogoSource.h"
#include "bitmap/PictureConversion.h"

#include "BmpBytes.h"
#include "support/Pgm.h"

#include <gtest/gtest.h>

#include <string>

namespace tervan {
namespace {

using test::Pgm;

GreyPicture Decoded(const Bytes& file) {
    PictureResult result = DecodePicture(file);
    EXPECT_EQ(result.outcome, PictureOutcome::Decoded);
    return std::move(result.picture);
}

GreyPicture Flat(int width, int height, std::uint8_t level) {
    return {width, height, Levels(static_cast<std::size_t>(width) * height, level)};
}

std::size_t DotsPrinted(const LogoDots& dots) {
    std::size_t count = 0;
    for (const std::uint8_t byte : dots.rows.pixels) {
        count += static_cast<std::size_t>(__builtin_popcount(byte));
    }
    return count;
}

constexpr std::uint8_t B = 0x00; // black
constexpr std::uint8_t W = 0xFF; // white

// Ten dots wide: rows of four bytes, as a 1-bit BMP pads them, the padding zero.
TEST(PictureConversion, ThresholdOfATwoLevelPicture) {
    const Bytes file =
        Pgm(10, 2, {B, B, W, W, B, W, B, W, B, B, /**/ W, W, B, B, W, B, W, B, W, W});
    const Bytes plain = {0xCA, 0xC0, 0, 0, 0x35, 0x00, 0, 0};
    const Bytes inverted = {0x35, 0x00, 0, 0, 0xCA, 0xC0, 0, 0};
    const struct {
        DitherOptions dither;
        const Bytes& rows;
    } cases[] = {
        {{.method = DitherMethod::Threshold}, plain}, // Otsu's level
        {{.method = DitherMethod::Threshold, .level = 1}, plain},
        {{.method = DitherMethod::Threshold, .level = 255}, plain},
        {{.method = DitherMethod::Threshold, .invert = true}, inverted},
        {{.method = DitherMethod::FloydSteinberg}, plain},
        {{.method = DitherMethod::Atkinson}, plain},
        {{.method = DitherMethod::Ordered}, plain},
    };
    const GreyPicture picture = Decoded(file);
    for (const auto& c : cases) {
        const ConvertResult result = ConvertPicture(picture, {.dither = c.dither});
        ASSERT_EQ(result.outcome, ConvertOutcome::Converted);
        EXPECT_EQ(result.dots.width, 10);
        EXPECT_EQ(result.dots.rows.stride, 4);
        EXPECT_EQ(result.dots.rows.height, 2);
        EXPECT_EQ(result.dots.rows.pixels, c.rows);
    }
    // Three levels: the given level decides which of the middle ones print.
    const GreyPicture grey = Decoded(Pgm(4, 1, {0, 100, 200, 255}));
    for (const auto& [level, row] : {std::pair{100, 0x80}, {101, 0xC0}, {201, 0xE0}}) {
        const ConvertResult result =
            ConvertPicture(grey, {.dither = {.method = DitherMethod::Threshold, .level = level}});
        EXPECT_EQ(result.dots.rows.pixels, (Bytes{static_cast<std::uint8_t>(row), 0, 0, 0}));
    }
}

// Transparent parts are laid on white; the grey is the colours' luma, whatever the depth.
TEST(Picture, TransparencyOnWhite) {
    const struct {
        const char* name;
        Bytes png;
        Bytes levels;
    } cases[] = {
        {"RGBA: opaque black, clear, half-clear black, white",
         {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49,
          0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06,
          0x00, 0x00, 0x00, 0xF9, 0x3C, 0x0F, 0xCD, 0x00, 0x00, 0x00, 0x15, 0x49, 0x44,
          0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x60, 0x60, 0xF8, 0xCF, 0x00, 0x01, 0x0D,
          0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x00, 0x19, 0x7A, 0x05, 0x7C, 0xFB, 0x3F, 0x02,
          0xDA, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82},
         {0, 255, 127, 255}},
        {"RGB with black as the transparent colour: black, red, blue",
         {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
          0x44, 0x52, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x08, 0x02, 0x00, 0x00,
          0x00, 0x94, 0x82, 0x83, 0xE3, 0x00, 0x00, 0x00, 0x06, 0x74, 0x52, 0x4E, 0x53, 0x00,
          0x00, 0x00, 0x00, 0x00, 0x00, 0x6E, 0xA6, 0x07, 0x91, 0x00, 0x00, 0x00, 0x12, 0x49,
          0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x60, 0x60, 0xF8, 0xCF, 0xC0, 0xC0, 0xC0,
          0xF0, 0x1F, 0x00, 0x07, 0x03, 0x01, 0xFF, 0x0C, 0xB4, 0x29, 0x65, 0x00, 0x00, 0x00,
          0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82},
         {255, 76, 29}}, // 0.299 x 255, 0.114 x 255
        {"16-bit PPM: red, green",
         {'P',  '6',  '\n', '2', ' ', '1', '\n', '6', '5',  '5',  '3', '5', '\n',
          0xFF, 0xFF, 0,    0,   0,   0,   0,    0,   0xFF, 0xFF, 0,   0},
         {76, 150}}, // 0.299 x 255, 0.587 x 255
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const GreyPicture picture = Decoded(c.png);
        EXPECT_EQ(picture.height, 1);
        ASSERT_EQ(picture.levels.size(), c.levels.size());
        for (std::size_t i = 0; i < c.levels.size(); ++i) {
            EXPECT_NEAR(picture.levels[i], c.levels[i], 1) << i;
        }
    }
}

// Each method prints a grey ramp about as dark as it is: half its dots, within 2% of them. The
// ramp's 16 levels are 8 x 8 blocks, a whole cycle of the ordered pattern each.
TEST(PictureConversion, DitheringKeepsTheRampsDarkness) {
    Bytes ramp;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 128; ++x) {
            ramp.push_back(static_cast<std::uint8_t>(17 * (x / 8))); // 0, 17 ... 255
        }
    }
    const GreyPicture picture = Decoded(Pgm(128, 8, ramp));
    for (const DitherMethod method : {DitherMethod::FloydSteinberg, DitherMethod::Atkinson,
                                      DitherMethod::Ordered, DitherMethod::Threshold}) {
        const ConvertResult result = ConvertPicture(picture, {.dither = {.method = method}});
        EXPECT_NEAR(static_cast<double>(DotsPrinted(result.dots)) / 1024.0, 0.5, 0.02)
            << static_cast<int>(method);
    }
    // A 50% grey prints half its dots, as image tools print it.
    for (const DitherMethod method : {DitherMethod::FloydSteinberg, DitherMethod::Ordered}) {
        const ConvertResult result =
            ConvertPicture(Flat(64, 64, 128), {.dither = {.method = method}});
        EXPECT_NEAR(static_cast<double>(DotsPrinted(result.dots)) / 4096.0, 0.5, 0.02);
    }
}

// The slot takes a 1-bit BMP of at most 65,536 bytes: 62 bytes of headers and palette, then the
// rows padded to four bytes.
TEST(PictureConversion, RefusesWhatWouldNotFitTheSlot) {
    const struct {
        int width;
        int height;
        ConvertOutcome outcome;
        int largest;
    } cases[] = {
        {384, 1364, ConvertOutcome::Converted, 1364}, // 62 + 48 x 1364 = 65,534 bytes
        {384, 1365, ConvertOutcome::OverSlot, 1364},
        {576, 909, ConvertOutcome::Converted, 909}, // 62 + 72 x 909 = 65,510 bytes
        {576, 910, ConvertOutcome::OverSlot, 909},
    };
    for (const auto& c : cases) {
        const ConvertResult result = ConvertPicture(Flat(c.width, c.height, 200), {});
        EXPECT_EQ(result.outcome, c.outcome) << c.height;
        EXPECT_EQ(result.largestHeight, c.largest);
        EXPECT_EQ(result.dots.rows.pixels.empty(), c.outcome != ConvertOutcome::Converted);
    }
    EXPECT_EQ(EncodeLogoBmp(ConvertPicture(Flat(384, 1364, 0), {}).dots).size(), 65534u);
}

TEST(PictureFit, Sizes) {
    const struct {
        PictureSize source;
        FitOptions options;
        PictureSize fitted;
    } cases[] = {
        {{4000, 3000}, {}, {576, 432}},
        {{300, 200}, {}, {300, 200}},
        {{300, 200}, {.width = 576}, {300, 200}}, // never enlarged unless asked
        {{300, 200}, {.width = 576, .upscale = true}, {576, 384}},
        {{300, 200}, {.upscale = true}, {576, 384}},
        {{1000, 3}, {.width = 384}, {384, 1}},
        {{1000, 1}, {.width = 8}, {8, 1}}, // never less than a row
        {{601, 1000}, {.width = 600}, {600, 998}},
    };
    for (const auto& c : cases) {
        const PictureSize size = FittedSize(c.source, c.options);
        EXPECT_EQ(size.width, c.fitted.width) << c.source.width << "x" << c.source.height;
        EXPECT_EQ(size.height, c.fitted.height) << c.source.width << "x" << c.source.height;
    }
    for (const auto& [mm, dots] : {std::pair{58, 384}, {72, 576}, {75, 600}, {80, 640}}) {
        EXPECT_EQ(PaperDots(mm), dots);
    }
    EXPECT_EQ(PaperDots(60), std::nullopt);
}

// Shrinking keeps flat areas flat and the picture where it was: a photo-sized picture, black on
// the left half, white on the right, fitted to 600 dots.
TEST(PictureFit, ShrinkKeepsLevelsAndPlaces) {
    GreyPicture picture = Flat(3000, 200, W);
    for (int y = 0; y < picture.height; ++y) {
        std::fill_n(picture.levels.begin() + y * picture.width, 1500, B);
    }
    const GreyPicture fitted = FitPicture(picture, {600, 40});
    ASSERT_EQ(fitted.levels.size(), 600u * 40u);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 600; ++x) {
            const std::uint8_t level = fitted.levels[static_cast<std::size_t>(y * 600 + x)];
            if (x < 295) {
                ASSERT_LE(level, 2) << x << "," << y;
            } else if (x >= 305) {
                ASSERT_GE(level, 253) << x << "," << y;
            }
        }
    }
    const GreyPicture grey = FitPicture(Flat(2000, 1000, 77), {576, 288});
    EXPECT_EQ(Bytes(grey.levels.begin(), grey.levels.end()), Bytes(576u * 288u, 77));
}

TEST(Picture, Refusals) {
    Bytes cutPng = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00,
                    0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00,
                    0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xF9, 0x3C, 0x0F, 0xCD};
    const std::string text = "not a picture at all\n";
    const std::string kNotAPicture =
        "Not a picture that can be read (PNG, JPEG, GIF, BMP, TGA or PNM)";
    const struct {
        const char* name;
        Bytes file;
        PictureOutcome outcome;
        std::string message;
    } cases[] = {
        {"Text", Bytes(text.begin(), text.end()), PictureOutcome::NotAPicture, kNotAPicture},
        {"Empty", {}, PictureOutcome::NotAPicture, kNotAPicture},
        {"PngWithoutData", cutPng, PictureOutcome::NotAPicture, kNotAPicture},
        // Files that would lead the decoder astray: a JPEG table of 16 x 255 codes, a JPEG scan
        // whose table was never defined, a PNG chunk declaring two gigabytes, a PNM width of ten
        // digits.
        {"JpegTableOfTooManyCodes",
         {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         PictureOutcome::NotAPicture,
         kNotAPicture},
        {"JpegScanWithoutTables",
         {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x01, 0x00, 0x01, 0x01, 0x01, 0x11, 0x00,
          0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x12, 0x34, 0xFF, 0xD9},
         PictureOutcome::NotAPicture,
         kNotAPicture},
        {"PngChunkPastTheEnd",
         {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48,
          0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x00, 0x00, 0x00,
          0x00, 0x3A, 0x7E, 0x9B, 0x55, 0x7F, 0xFF, 0xFF, 0xF0, 0x49, 0x44, 0x41, 0x54, 0x78},
         PictureOutcome::NotAPicture,
         kNotAPicture},
        {"PnmNumberOfTenDigits", Pgm(1234567890, 1, {}), PictureOutcome::NotAPicture, kNotAPicture},
        // Refused from the header alone: the 60 million levels are not there.
        {"SixtyMegapixels", Pgm(10000, 6000, {}), PictureOutcome::TooManyPixels,
         "The picture has 10000 x 6000 pixels, more than the limit of 50 million"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureResult result = DecodePicture(c.file);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_TRUE(result.picture.levels.empty());
        EXPECT_EQ(PictureMessage(result, Language::English), c.message);
    }
}

// Without conversion options a BMP of any depth, or a 1-bit one without its signature, is the
// BMP loader's; everything else is decoded.
TEST(LogoSource, BmpByContent) {
    using test::MakeBmp;
    const struct {
        const char* name;
        Bytes start;
        bool bmp;
    } cases[] = {
        {"OneBit", MakeBmp({}, Bytes(4, 0)), true},
        {"TwentyFourBit", MakeBmp({.bitCount = 24}, Bytes(4, 0)), true},
        {"OneBitWithoutSignature", MakeBmp({.signature = {'X', 'Y'}}, Bytes(4, 0)), true},
        {"Greymap", Pgm(1, 1, {0}), false},
        {"PngSignature", {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A}, false},
        {"Empty", {}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TakesBmpPath(c.start), c.bmp) << c.name;
    }
}

} // namespace
} // namespace tervan
