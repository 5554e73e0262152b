#include "bitmap/BitmapFile.h"
#include "bitmap/BitmapMessages.h"

#include "BmpBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tervan {
namespace {

using test::BmpFields;
using test::MakeBmp;

Bytes Cut(Bytes bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

// Every case goes through both entry points: the file reader must see what the byte loader sees.
TEST(LoadBitmap, OutcomesFromFileAndBytesAgree) {
    const struct {
        const char* name;
        Bytes file;
        LoadOutcome outcome;
        int message; // 0: none
    } cases[] = {
        {"ShorterThanFileHeader", Bytes(13, 0x42), LoadOutcome::ReadFailed, 112},
        {"HeaderAloneDeclaring70000", Cut(MakeBmp({.size = 70000}, {}), 14), LoadOutcome::TooLarge,
         113},
        {"HeaderAlone", Cut(MakeBmp({.size = 100}, {}), 14), LoadOutcome::ReadFailed, 112},
        {"InfoHeaderCut", Cut(MakeBmp({}, Bytes(4, 0)), 53), LoadOutcome::ReadFailed, 112},
        {"Declares65537", MakeBmp({.size = 65537}, Bytes(4, 0)), LoadOutcome::TooLarge, 113},
        {"Declares65536", MakeBmp({.width = 32, .height = 16368}, Bytes(65474, 0)),
         LoadOutcome::Loaded, 0},
        {"TwentyFourBit", MakeBmp({.bitCount = 24}, Bytes(4, 0)), LoadOutcome::NotMonochrome, 114},
        {"EightBit", MakeBmp({.bitCount = 8}, Bytes(8, 0)), LoadOutcome::NotMonochrome, 114},
        {"NoSignature", MakeBmp({.signature = {'X', 'Y'}}, Bytes(4, 0)), LoadOutcome::Loaded, 0},
        {"HeightZero", MakeBmp({.height = 0}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
        {"HeightMinimum", MakeBmp({.height = INT32_MIN}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
        {"WidthZero", MakeBmp({.width = 0}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
        {"WidthNegative", MakeBmp({.width = -8}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
        {"OffBitsPastSize", MakeBmp({.offBits = 62, .size = 61}, Bytes(4, 0)),
         LoadOutcome::Malformed, 114},
        {"DeclaredDataShortOfRows", MakeBmp({.height = 3, .size = 62 + 11}, Bytes(12, 0)),
         LoadOutcome::Malformed, 114},
        // Header, palette or compressed bytes would otherwise reach the printer as dots.
        {"Compressed", MakeBmp({.compression = 1}, Bytes(4, 0)), LoadOutcome::Unsupported, 114},
        {"PixelsInsideTheHeaders", MakeBmp({.height = 2, .offBits = 30, .size = 40}, {}),
         LoadOutcome::Unsupported, 114},
        {"PixelsInsideThePalette", MakeBmp({.offBits = 58}, Bytes(4, 0)), LoadOutcome::Unsupported,
         114},
        {"PalettePastThePixels", MakeBmp({.infoSize = 200}, Bytes(4, 0)), LoadOutcome::Unsupported,
         114},
        {"CoreHeader", MakeBmp({.infoSize = 12}, Bytes(4, 0)), LoadOutcome::Unsupported, 114},
        {"FileShorterThanRows", MakeBmp({.height = 3, .size = 62 + 12}, Bytes(8, 0)),
         LoadOutcome::Truncated, 112},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadResult fromBytes = LoadBitmapBytes(c.file);
        const LoadResult fromFile = LoadBitmapFile(dir.Write("logo.bmp", c.file));
        for (const LoadResult* result : {&fromBytes, &fromFile}) {
            EXPECT_EQ(result->Outcome(), c.outcome);
            EXPECT_EQ((result->Rows() != nullptr), c.outcome == LoadOutcome::Loaded);
            EXPECT_EQ(static_cast<int>(LoadMessage(result->Outcome()).value_or(StringId{0})),
                      c.message);
        }
        if (fromBytes.Rows() && fromFile.Rows()) {
            EXPECT_EQ(fromBytes.Rows()->pixels, fromFile.Rows()->pixels);
        }
    }
}

// What is no regular file is refused at once: a FIFO without a writer would block a read forever,
// a device would give endless bytes. A file the user may only read is read.
TEST(LoadBitmapFile, OnlyRegularFilesAreRead) {
    test::TempDir dir;
    const auto fifo = dir.Path() / "logo.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto readOnly = dir.Write("read-only.bmp", MakeBmp({}, Bytes(4, 0)));
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    const std::pair<std::filesystem::path, LoadOutcome> cases[] = {
        {readOnly, LoadOutcome::Loaded},
        {dir.Path() / "absent.bmp", LoadOutcome::OpenFailed},
        {dir.Path(), LoadOutcome::OpenFailed},
        {fifo, LoadOutcome::ReadFailed},
        {"/dev/zero", LoadOutcome::ReadFailed},
    };
    for (const auto& [path, outcome] : cases) {
        EXPECT_EQ(LoadBitmapFile(path).Outcome(), outcome) << path;
    }
    EXPECT_EQ(LoadMessage(LoadOutcome::OpenFailed), StringId::FileReadFailure);
}

// Small pictures whose every converted byte is stated.
TEST(LoadBitmapBytes, ConvertsEveryRow) {
    constexpr std::array<std::uint8_t, 8> kWhiteFirst{0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0};
    const struct {
        const char* name;
        BmpFields fields;
        Bytes fileRows; // as stored in the file
        Bytes expected; // top line first
    } cases[] = {
        // Bottom row first in the file; mask 0x80; the padding keeps its values.
        {"WidthOne",
         {.width = 1, .height = 2},
         {0x00, 0x12, 0x34, 0x56, 0xFF, 0xAB, 0xCD, 0xEF},
         {0x00, 0xAB, 0xCD, 0xEF, 0x80, 0x12, 0x34, 0x56}},
        {"TopDown",
         {.width = 16, .height = -2},
         {0x0F, 0x01, 0x11, 0x22, 0xF0, 0x80, 0x33, 0x44},
         {0xF0, 0xFE, 0x11, 0x22, 0x0F, 0x7F, 0x33, 0x44}},
        {"WidthThirteenDarkFirst",
         {.width = 13},
         {0xF0, 0xFF, 0x77, 0x88},
         {0x0F, 0x00, 0x77, 0x88}},
        {"WidthThirteenWhiteFirst",
         {.width = 13, .palette = kWhiteFirst},
         {0xF0, 0xFF, 0x77, 0x88},
         {0xF0, 0xF8, 0x77, 0x88}},
        {"WidthThirtyTwo", {.width = 32}, {0x00, 0xFF, 0x5A, 0x81}, {0xFF, 0x00, 0xA5, 0x7E}},
    };
    for (const auto& c : cases) {
        const LoadResult result = LoadBitmapBytes(MakeBmp(c.fields, c.fileRows));
        ASSERT_EQ(result.Outcome(), LoadOutcome::Loaded) << c.name;
        EXPECT_EQ(result.Rows()->stride, 4) << c.name;
        EXPECT_EQ(result.Rows()->pixels, c.expected) << c.name;
    }
}

} // namespace
} // namespace tervan
