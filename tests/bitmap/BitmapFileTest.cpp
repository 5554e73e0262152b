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
using test::Rows;

Bytes Cut(Bytes bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

struct OutcomeCase {
    const char* name;
    Bytes file;
    LoadOutcome outcome;
    int message; // 0: none
};

// Every case goes through both entry points: the file reader must see what the byte loader sees.
class LoadOutcomeTest : public testing::TestWithParam<OutcomeCase> {};

TEST_P(LoadOutcomeTest, FileAndBytesAgree) {
    const OutcomeCase& c = GetParam();
    const Bytes& bytes = c.file;
    const LoadResult fromBytes = LoadBitmapBytes(bytes);
    test::TempDir dir;
    const LoadResult fromFile = LoadBitmapFile(dir.Write("logo.bmp", bytes));

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

const OutcomeCase kOutcomeCases[] = {
    {"ShorterThanFileHeader", Bytes(13, 0x42), LoadOutcome::ReadFailed, 112},
    {"HeaderAloneDeclaring70000", Cut(MakeBmp({.size = 70000}, {}), 14), LoadOutcome::TooLarge,
     113},
    {"HeaderAlone", Cut(MakeBmp({.size = 100}, {}), 14), LoadOutcome::ReadFailed, 112},
    {"InfoHeaderCut", Cut(MakeBmp({}, Bytes(4, 0)), 53), LoadOutcome::ReadFailed, 112},
    {"Declares65537", MakeBmp({.size = 65537}, Bytes(4, 0)), LoadOutcome::TooLarge, 113},
    {"Declares65536", MakeBmp({.width = 32, .height = 16368}, Bytes(65474, 0)), LoadOutcome::Loaded,
     0},
    {"TwentyFourBit", MakeBmp({.bitCount = 24}, Bytes(4, 0)), LoadOutcome::NotMonochrome, 114},
    {"EightBit", MakeBmp({.bitCount = 8}, Bytes(8, 0)), LoadOutcome::NotMonochrome, 114},
    {"NoSignature", MakeBmp({.signature = {'X', 'Y'}}, Bytes(4, 0)), LoadOutcome::Loaded, 0},
    {"HeightZero", MakeBmp({.height = 0}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
    {"HeightMinimum", MakeBmp({.height = INT32_MIN}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
    {"WidthZero", MakeBmp({.width = 0}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
    {"WidthNegative", MakeBmp({.width = -8}, Bytes(4, 0)), LoadOutcome::Malformed, 114},
    {"OffBitsPastSize", MakeBmp({.offBits = 62, .size = 61}, Bytes(4, 0)), LoadOutcome::Malformed,
     114},
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

INSTANTIATE_TEST_SUITE_P(Bitmap, LoadOutcomeTest, testing::ValuesIn(kOutcomeCases),
                         [](const auto& p) { return std::string(p.param.name); });

// What is no regular file is refused at once: a FIFO without a writer would block a read forever,
// a device would give endless bytes.
TEST(LoadBitmapFile, OnlyRegularFilesAreRead) {
    test::TempDir dir;
    const auto fifo = dir.Path() / "logo.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::filesystem::path, LoadOutcome> cases[] = {
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

TEST(LoadBitmapFile, ReadOnlyFileLoads) {
    test::TempDir dir;
    const auto path = dir.Write("logo.bmp", MakeBmp({}, Bytes{0x0F, 0, 0, 0}));
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const LoadResult result = LoadBitmapFile(path);
    ASSERT_EQ(result.Outcome(), LoadOutcome::Loaded);
    EXPECT_EQ(result.Rows()->pixels, (Bytes{0xF0, 0, 0, 0}));
}

// Small pictures whose every converted byte is stated.
struct ConversionCase {
    const char* name;
    BmpFields fields;
    Bytes fileRows; // as stored in the file
    Bytes expected; // top line first
};

class RowConversionTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(RowConversionTest, ConvertsEveryRow) {
    const ConversionCase& c = GetParam();
    const LoadResult result = LoadBitmapBytes(MakeBmp(c.fields, c.fileRows));
    ASSERT_EQ(result.Outcome(), LoadOutcome::Loaded);
    EXPECT_EQ(result.Rows()->stride, 4);
    EXPECT_EQ(result.Rows()->pixels, c.expected);
}

constexpr std::array<std::uint8_t, 8> kWhiteFirst{0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0};

const ConversionCase kConversionCases[] = {
    // Bottom row first in the file; mask 0x80; the padding keeps its values.
    {"WidthOne",
     {.width = 1, .height = 2},
     {0x00, 0x12, 0x34, 0x56, 0xFF, 0xAB, 0xCD, 0xEF},
     {0x00, 0xAB, 0xCD, 0xEF, 0x80, 0x12, 0x34, 0x56}},
    {"TopDown",
     {.width = 16, .height = -2},
     {0x0F, 0x01, 0x11, 0x22, 0xF0, 0x80, 0x33, 0x44},
     {0xF0, 0xFE, 0x11, 0x22, 0x0F, 0x7F, 0x33, 0x44}},
    {"WidthThirteenDarkFirst", {.width = 13}, {0xF0, 0xFF, 0x77, 0x88}, {0x0F, 0x00, 0x77, 0x88}},
    {"WidthThirteenWhiteFirst",
     {.width = 13, .palette = kWhiteFirst},
     {0xF0, 0xFF, 0x77, 0x88},
     {0xF0, 0xF8, 0x77, 0x88}},
    {"WidthThirtyTwo", {.width = 32}, {0x00, 0xFF, 0x5A, 0x81}, {0xFF, 0x00, 0xA5, 0x7E}},
};

INSTANTIATE_TEST_SUITE_P(Bitmap, RowConversionTest, testing::ValuesIn(kConversionCases),
                         [](const auto& p) { return std::string(p.param.name); });

// 384 x 100, file row r all bytes r: every byte complemented, the file's last row first, and
// declared bytes after the rows (4,900 for 4,800) change nothing.
TEST(LoadBitmapBytes, FullWidthRowsComeTopLineFirst) {
    const Bytes rows = Rows(100, 48, [](int r) { return static_cast<std::uint8_t>(r); });
    Bytes trailing = rows;
    trailing.insert(trailing.end(), 100, 0xEE);
    for (const Bytes& file :
         {MakeBmp({.width = 384, .height = 100}, rows),
          MakeBmp({.width = 384, .height = 100, .size = 62 + 4900}, trailing)}) {
        const LoadResult result = LoadBitmapBytes(file);
        ASSERT_EQ(result.Outcome(), LoadOutcome::Loaded);
        ASSERT_EQ(result.Rows()->stride, 48);
        ASSERT_EQ(result.Rows()->pixels.size(), 4800u);
        const auto row = [&](int r) {
            return Bytes(result.Rows()->Row(r).begin(), result.Rows()->Row(r).end());
        };
        EXPECT_EQ(row(0), Bytes(48, 0x9C));
        EXPECT_EQ(row(1), Bytes(48, 0x9D));
        EXPECT_EQ(row(99), Bytes(48, 0xFF));
    }
}

TEST(LoadBitmapBytes, PartialLastByteIsMaskedAndPaddingKept) {
    const LoadResult result =
        LoadBitmapBytes(MakeBmp({.width = 100, .height = 100}, Bytes(1600, 0x5A)));
    ASSERT_EQ(result.Outcome(), LoadOutcome::Loaded);
    ASSERT_EQ(result.Rows()->stride, 16);
    const Bytes row{0xA5, 0xA5, 0xA5, 0xA5, 0xA5, 0xA5, 0xA5, 0xA5,
                    0xA5, 0xA5, 0xA5, 0xA5, 0xA0, 0x5A, 0x5A, 0x5A};
    for (int r = 0; r < 100; ++r) {
        ASSERT_EQ(Bytes(result.Rows()->Row(r).begin(), result.Rows()->Row(r).end()), row) << r;
    }
}

} // namespace
} // namespace tervan
