#include "PeerPort.h"
#include "sim/VirtualPrinter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>

namespace tervan::sim::test {
namespace {

using tervan::test::TempDir;

namespace fs = std::filesystem;

// The picture in a PNG file as rows of '#' (dark) and '.' (light); empty when unreadable.
std::vector<std::string> ReadPicture(const fs::path& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
        return {};
    }
    image.format = PNG_FORMAT_GRAY;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return {};
    }
    std::vector<std::string> rows(image.height, std::string(image.width, '.'));
    for (std::size_t y = 0; y < image.height; ++y) {
        for (std::size_t x = 0; x < image.width; ++x) {
            if (pixels[y * image.width + x] < 0x80) {
                rows[y][x] = '#';
            }
        }
    }
    return rows;
}

struct LogoCase {
    const char* name;
    Bytes written;
    int slot;
    std::vector<std::string> picture;
};

void PrintTo(const LogoCase& c, std::ostream* os) {
    *os << c.name;
}

class SimLogos : public ::testing::TestWithParam<LogoCase> {};

TEST_P(SimLogos, PrintWritesTheStoredPicture) {
    TempDir out;
    ASSERT_FALSE(out.Path().empty());
    VirtualPrinter printer({.reply = ReplyMode::Ok, .delay = {}, .outDir = out.Path()});
    ASSERT_TRUE(printer.Start());
    PeerPort peer(printer.SlavePath());
    ASSERT_TRUE(peer.Write(GetParam().written));
    ASSERT_TRUE(printer.WaitForBytes(GetParam().written.size(), milliseconds{2000}));

    const fs::path file = out.Path() / ("slot-" + std::to_string(GetParam().slot) + ".png");
    EXPECT_EQ(ReadPicture(file), GetParam().picture);
    // Nothing else, and no half-written file left over.
    EXPECT_EQ(std::distance(fs::directory_iterator(out.Path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SimLogos,
    ::testing::Values(LogoCase{"OneByteTwoRows",
                               {0x1B, 0xFF, 0x00, 0x01, 0x00, 0x02, 0x00, 0x80, 0x0F, 0x1C, 0x50,
                                0x00},
                               0,
                               {"#.......", "....####"}},
                      LogoCase{"TwoBytesThreeRowsSlot8",
                               {0x1B, 0xFF, 0x08, 0x02, 0x00, 0x03, 0x00, 0xF0, 0x01, 0x00, 0x00,
                                0xAA, 0x80, 0x1C, 0x50, 0x08},
                               8,
                               {"####...........#", "................", "#.#.#.#.#......."}},
                      LogoCase{"StoringAgainReplaces",
                               {0x1B, 0xFF, 0x03, 0x01, 0x00, 0x01, 0x00, 0xFF, 0x1B, 0xFF, 0x03,
                                0x01, 0x00, 0x01, 0x00, 0x3C, 0x1C, 0x50, 0x03},
                               3,
                               {"..####.."}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(SimPrinter, PrintingAnEmptySlotWritesNothing) {
    TempDir out;
    VirtualPrinter printer({.reply = ReplyMode::Ok, .delay = {}, .outDir = out.Path()});
    ASSERT_TRUE(printer.Start());
    PeerPort peer(printer.SlavePath());
    const Bytes print{0x1C, 0x50, 0x05};
    ASSERT_TRUE(peer.Write(print));
    ASSERT_TRUE(printer.WaitForBytes(print.size(), milliseconds{2000}));
    EXPECT_EQ(printer.Decoded(), std::vector<std::string>{"PrintStoredBitmap slot=5"});
    EXPECT_TRUE(fs::is_empty(out.Path()));
}

} // namespace
} // namespace tervan::sim::test
