#include "PtyPeer.h"
#include "support/RunProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tervan::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = TERVAN_CLI_PATH;
const fs::path kData = TERVAN_TEST_DATA_DIR;

ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(kCli, args, {{"LANG", "C.UTF-8"}, {"LANGUAGE", "\x01"}, {"LC_ALL", "\x01"}});
}

// A plain PBM: 1 is a black dot.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::vector<int>> dots;
};

Picture ReadPlainPbm(const fs::path& path) {
    std::ifstream in(path);
    std::string magic;
    Picture p;
    in >> magic >> p.width >> p.height;
    p.dots.assign(static_cast<std::size_t>(p.height), std::vector<int>(p.width));
    for (auto& row : p.dots) {
        for (int& dot : row) {
            in >> dot;
        }
    }
    return p;
}

std::vector<std::vector<std::uint8_t>> HexLines(const std::string& text) {
    std::vector<std::vector<std::uint8_t>> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream bytes(line);
        std::vector<std::uint8_t> row;
        std::string hex;
        while (bytes >> hex) {
            row.push_back(static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16)));
        }
        lines.push_back(row);
    }
    return lines;
}

// Files written by real image tools (tests/data): the rows on the wire hold exactly the dark
// pixels, top line first, and nothing right of the picture's width.
TEST(LogoCli, ToolFilesReachThePrinterAsDrawn) {
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(kData)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("logo-") || entry.path().extension() != ".bmp") {
            continue;
        }
        const std::string size = name.substr(5, name.find('-', 5) - 5);
        const Picture picture = ReadPlainPbm(kData / ("logo-" + size + ".pbm"));
        const ProcessResult r =
            Cli({"logo", "download", "--dry-run", "--slot", "8", entry.path().string()});
        ASSERT_EQ(r.exitCode, 0) << name << r.err;
        const auto lines = HexLines(r.out);
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(picture.height) + 4) << name;
        EXPECT_EQ(lines[0], (std::vector<std::uint8_t>{0x1B, 0x06})) << name;
        const std::vector<std::uint8_t>& header = lines[1];
        ASSERT_EQ(header.size(), 7u) << name;
        EXPECT_EQ(header[2], 8) << name;
        EXPECT_EQ(header[5] | header[6] << 8, picture.height) << name;
        const std::size_t stride = static_cast<std::size_t>(header[3] | header[4] << 8);
        EXPECT_EQ(stride, static_cast<std::size_t>((picture.width + 31) / 32 * 4)) << name;
        for (int y = 0; y < picture.height; ++y) {
            const auto& row = lines[2 + static_cast<std::size_t>(y)];
            ASSERT_EQ(row.size(), stride) << name << " row " << y;
            const int usedBits = (picture.width + 7) / 8 * 8;
            for (int x = 0; x < usedBits; ++x) {
                const int bit = (row[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
                const int want = x < picture.width ? picture.dots[y][x] : 0;
                ASSERT_EQ(bit, want) << name << " row " << y << " dot " << x;
            }
        }
        EXPECT_EQ(lines[lines.size() - 2], (std::vector<std::uint8_t>{0x1B, 0x16})) << name;
        EXPECT_EQ(lines.back(), (std::vector<std::uint8_t>{0x1B, 0x16})) << name;
        ++checked;
    }
    EXPECT_GE(checked, 8);
}

TEST(LogoCli, PrintAndRefusals) {
    const ProcessResult print = Cli({"logo", "print", "--dry-run", "--slot", "3"});
    EXPECT_EQ(print.exitCode, 0);
    EXPECT_EQ(print.out, "1C 50 03\n");

    // A 2 x 1 picture of 24 bits a pixel: refused before anything is opened or sent.
    const fs::path color = fs::temp_directory_path() / "tervan-cli-24bit.bmp";
    {
        std::ofstream out(color, std::ios::binary);
        const unsigned char bytes[] = {
            'B', 'M', 62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0,    0,    0,    2, 0, 0,
            0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0, 8, 0,  0,    0,    0,    0, 0, 0,
            0,   0,   0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 0, 0, 0,  0xFF, 0xFF, 0xFF, 0, 0};
        out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    }
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"logo", "download", "--port", "/dev/tervan-none", "--slot", "1", color.string()},
         color.string() + ": Bitmap format error, it should be black and white bitmap\n"},
        {{"logo", "download", "--port", "/dev/tervan-none", "--slot", "1", "/no/such.bmp"},
         "/no/such.bmp: File read failure\n"},
        {{"logo", "download", "--dry-run", "--slot", "9", color.string()},
         "--slot: '9' is not a slot from 0 to 8\n"},
        {{"logo", "print", "--dry-run", "--slot", "-1"},
         "--slot: '-1' is not a slot from 0 to 8\n"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Cli(c.args);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.empty());
    }
    fs::remove(color);
}

TEST(LogoCli, DownloadOverAPseudoTerminal) {
    PtyPeer peer(PtyPeer::Reply::Silent); // a download waits for no reply
    const ProcessResult r = Cli({"logo", "download", "--port", peer.Path(), "--slot", "8",
                                 (kData / "tervan-logo.bmp").string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "Download bitmap success\n");
    // 384 x 96 dots: EnterSetup, header, 96 rows of 48 bytes, LeaveSetup twice.
    const auto received = peer.Received(2 + 7 + 96 * 48 + 4);
    ASSERT_EQ(received.size(), 2u + 7 + 96 * 48 + 4);
    EXPECT_EQ(std::vector<std::uint8_t>(received.begin(), received.begin() + 9),
              (std::vector<std::uint8_t>{0x1B, 0x06, 0x1B, 0xFF, 0x08, 0x30, 0x00, 0x60, 0x00}));
    EXPECT_EQ(std::vector<std::uint8_t>(received.end() - 4, received.end()),
              (std::vector<std::uint8_t>{0x1B, 0x16, 0x1B, 0x16}));
}

} // namespace
} // namespace tervan::test
