#include "PtyPeer.h"
#include "support/RunProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tervan::test {
namespace {

namespace fs = std::filesystem;

const std::string kCli = TERVAN_CLI_PATH;
const fs::path kData = TERVAN_TEST_DATA_DIR;

ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(kCli, args, {{"LANG", "C.UTF-8"}, {"LANGUAGE", "\x01"}, {"LC_ALL", "\x01"}});
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
