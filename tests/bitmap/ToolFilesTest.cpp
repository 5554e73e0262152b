#include "bitmap/BitmapFile.h"

#include "BmpBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

// Files written by netpbm and ImageMagick (tests/data/make-logos.sh), checked against the plain
// PBM each was made from: a set bit within the width is exactly a black pixel, top line first, and
// the bits right of the width are clear.
namespace tervan {
namespace {

std::filesystem::path DataDir() {
    const char* dir = std::getenv("TERVAN_TEST_DATA");
    return dir ? dir : "tests/data";
}

Bytes ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

struct Pbm {
    int width = 0;
    int height = 0;
    std::vector<std::string> lines; // '1' black, '0' white
};

Pbm ReadPlainPbm(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string magic;
    Pbm pbm;
    in >> magic >> pbm.width >> pbm.height;
    for (int y = 0; y < pbm.height; ++y) {
        std::string line;
        for (char c; static_cast<int>(line.size()) < pbm.width && in >> c;) {
            line += c;
        }
        pbm.lines.push_back(line);
    }
    return pbm;
}

// The same file with bytes after the rows that bfSize declares.
Bytes WithTrailingBytes(Bytes file) {
    file.insert(file.end(), 37, 0xA5);
    test::PutLe(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

void ExpectMatches(const LoadResult& result, const Pbm& pbm) {
    ASSERT_EQ(result.Outcome(), LoadOutcome::Loaded);
    const BitmapRows& rows = *result.Rows();
    ASSERT_EQ(rows.height, pbm.height);
    ASSERT_EQ(rows.stride % 4, 0);
    const int used = (pbm.width + 7) / 8;
    for (int y = 0; y < pbm.height; ++y) {
        const auto row = rows.Row(y);
        std::string dots;
        for (int x = 0; x < used * 8; ++x) {
            dots += (row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1 ? '1' : '0';
        }
        EXPECT_EQ(dots.substr(0, static_cast<std::size_t>(pbm.width)), pbm.lines[y]) << "row " << y;
        EXPECT_EQ(dots.find('1', static_cast<std::size_t>(pbm.width)), std::string::npos)
            << "row " << y;
    }
}

// Each file is named after the PBM it was made from: logo-WxH-TOOL.bmp from logo-WxH.pbm.
class ToolFileTest : public testing::TestWithParam<const char*> {};

TEST_P(ToolFileTest, SetBitsAreTheBlackPixels) {
    const std::string name = GetParam();
    const Pbm pbm = ReadPlainPbm(DataDir() / (name.substr(0, name.rfind('-')) + ".pbm"));
    ASSERT_EQ(static_cast<int>(pbm.lines.size()), pbm.height);
    const Bytes file = ReadAll(DataDir() / name);
    ASSERT_FALSE(file.empty()) << name;

    SCOPED_TRACE(name);
    ExpectMatches(LoadBitmapFile(DataDir() / name), pbm);
    ExpectMatches(LoadBitmapBytes(WithTrailingBytes(file)), pbm);
}

INSTANTIATE_TEST_SUITE_P(Bitmap, ToolFileTest,
                         testing::Values("logo-1x9-netpbm.bmp", "logo-1x9-im.bmp",
                                         "logo-13x7-netpbm.bmp", "logo-13x7-im3.bmp",
                                         "logo-13x7-whitefirst.bmp", "logo-100x6-im.bmp",
                                         "logo-100x6-whitefirst.bmp", "logo-576x4-netpbm.bmp",
                                         "logo-576x4-im.bmp"));

} // namespace
} // namespace tervan
