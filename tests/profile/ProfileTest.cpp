#include "profile/Profile.h"
#include "protocol/ApplySettings.h"
#include "support/RecordingLink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tervan {
namespace {

const AnsiCodePage kCodePage{"CP936"};

// The writes a profile's settings put on the wire, EnterSetup and LeaveSetup left out; the
// refusal when the profile is refused.
std::string Sent(std::string_view text) {
    const ProfileRead read = ParseProfile(text, "p.toml", kCodePage, Language::English);
    if (!read.profile) {
        return read.problem;
    }
    test::RecordingLink link;
    link.replies = {{0x4F, 0x4B}};
    ApplySettings(read.profile->settings, kCodePage, link, false, link.Pauser());
    const std::string trace = link.Trace(true);
    return trace.substr(6, trace.size() - 12); // "1B 06|" ... "|1B 16"
}

TEST(Profile, EverySettingToTheBytesOnTheWire) {
    const struct {
        const char* line;
        const char* sent;
    } cases[] = {
        {"code-page = 11", "1B 74 0B"},
        {"code-page = \"cp874\"", "1B 74 2F"},
        {"font = \"12x24\"", "1B 21 00"},
        {"dot-matrix = true\nfont = \"5x7\"", "1B 21 02"},
        {"language = \"big5\"", "1B 22 02"},
        {"cutter = \"on\"", "1B 32 10"},
        {"serial-format = \"115200,even,7,xon-xoff\"", "1B 23 07"},
        {"serial-format = \"1200,odd,8,rts-cts\"", "1B 23 58"},
        {"manufacturer = \"ABC\"", "1B 24|41 42 43|00"},
        {"model = \"打印\"", "1B 25|B4 F2 D3 A1|00"},
        {"serial-number = \"SN-7\"", "1B 26|53 4E 2D 37|00"},
        {"bt-name = \"Kiosk\"", "1B 11|4B 69 6F 73 6B|00"},
        {"bt-password = \"0420\"", "1B 10|30 34 32 30|00"},
        {"mark-detect = \"on\"", "1B 2B 01"},
        {"mark-start = -100", "1D 28 46 04 00 01 01 64 00"},
        {"mark-tear = 300", "1D 28 46 04 00 02 00 2C 01"},
        {"mark-sensitivity = \"high\"", "1B 28 02"},
        {"speed = \"highest\"", "1B 2C 03"},
        {"density = 0", "1B FD 00"},
        {"cr-mode = \"on\"", "1B 2E 01"},
        {"direction = \"reversed\"", "1B 63 01"},
        {"paper-width = \"80\"", "1B 2D 02"},
        {"usb-mode = \"cdc\"", "1B 30 01"},
        {"buzzer = \"on,off\"", "1B 29 01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sent(c.line), c.sent) << c.line;
    }
}

// Each kind of refusal names the file, the line and what is wrong.
TEST(Profile, RefusalsNameTheFileAndLine) {
    std::string deep = "density = 1\nx = { ";
    for (int i = 0; i < 30000; ++i) {
        deep += "a.";
    }
    deep += "b = 1 }\n";
    const struct {
        const char* text;
        const char* start;   // how the message begins
        const char* mention; // and what it says
    } cases[] = {
        {"density = 1\ndensity = 2\n", "p.toml:2: ", "redefine"},
        {"density = 1\nmodel = \"\xff\"\n", "p.toml:2: ", "utf-8"},
        {"density = 1\n\n[shop]\ncutter = \"on\"\n", "p.toml:3: ", "'shop' is a table"},
        {"shop.cutter = \"on\"\n", "p.toml:1: ", "'shop' is a table"},
        {deep.c_str(), "p.toml:2: ", "more than 64 dots"},
        {"# mine\ndensty = 3\n", "p.toml:2: ", "'densty' is not a key"},
        {"mark-start = \"-100\"\n", "p.toml:1: ", "mark-start = -100"},
        {"bt-password = 1234\n", "p.toml:1: ", "bt-password = \"1234\""},
        {"dot-matrix = 1\n", "p.toml:1: ", "dot-matrix: a whole number where true or false"},
        {"density = 31\n", "p.toml:1: ", "density: '31' is not allowed; use 0..30"},
        {"font = \"7x9\"\n", "p.toml:1: ", "font: '7x9' is not allowed"},
        {"baud = 300\n", "p.toml:1: ", "baud: '300' is not one of 1200"},
        {"cutter = \"on\"\n\nmanufacturer = \"A\\u001BB\"\n", "p.toml:3: ", "U+001B"},
        {"model = \"ก\"\n", "p.toml:1: ", "code page CP936"},
        {"speed = 1\nbt-password = \"12a4\"\n", "p.toml:2: ", "not exactly 4 digits"},
        {"bt-name = \"\"\n", "p.toml:1: ", "bt-name: empty"},
        {"mark-tear = 65536\n", "p.toml:1: ", "mark-tear"},
    };
    for (const auto& c : cases) {
        const std::string problem = Sent(c.text);
        EXPECT_EQ(problem.rfind(c.start, 0), 0u) << problem;
        EXPECT_NE(problem.find(c.mention), std::string::npos) << problem;
    }
}

TEST(Profile, FilesThatAreNoProfile) {
    test::TempDir dir;
    ASSERT_EQ(::mkfifo((dir.Path() / "fifo.toml").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.Path() / "dir.toml");
    dir.Write("huge.toml", Bytes(kMaxProfileBytes + 1, '#'));
    const struct {
        const char* name;
        const char* problem;
    } cases[] = {
        {"fifo.toml", "fifo.toml: not a regular file"},
        {"dir.toml", "dir.toml: a directory"},
        {"huge.toml", "huge.toml: larger than 64 KiB"},
        {"none.toml", "none.toml: no such file"},
    };
    for (const auto& c : cases) {
        const ProfileRead read = ReadProfile(dir.Path() / c.name, kCodePage);
        EXPECT_FALSE(read.profile);
        EXPECT_NE(read.problem.find(c.problem), std::string::npos) << read.problem;
    }
}

TEST(Profile, HandWrittenFileLoads) {
    const char* text = "\xEF\xBB\xBF# The shop's printers\r\n"
                       "\r\n"
                       "   density=12   # darker......................................"
                       "...................................\r\n"
                       "\"code-page\"   =   'cp437'\r\n"
                       "font = \"7x9\"\t\t\r\n"
                       "dot-matrix  =  true\r\n"
                       "buzzer = \"\"\"on,on\"\"\"\r\n"
                       "port = \"COM3\"\r\n"
                       "baud = \"115200\"\r\n"
                       "data-bits = 7\r\n"
                       "parity = 'E'\r\n";
    EXPECT_EQ(Sent(text), "1B 74 00|1B 21 00|1B FD 0C|1B 29 03");
    const ProfileRead read = ParseProfile(text, "p.toml", kCodePage);
    ASSERT_TRUE(read.profile);
    EXPECT_EQ(read.profile->link.port, "COM3");
    EXPECT_EQ(read.profile->link.baud, 7);
    EXPECT_EQ(read.profile->link.dataBits, 0);
    EXPECT_EQ(read.profile->link.parity, 2);
}

TEST(Profile, SavedCleanInTheTablesOrder) {
    Profile profile;
    profile.settings.density = 12;
    profile.settings.codePage = 11;
    profile.settings.manufacturer = {true, u"A \"B\" \\ 打印"};
    profile.settings.dotMatrixFonts = true;
    profile.settings.font = 0;
    profile.link.port = "usb";
    test::TempDir dir;
    const auto path = dir.Path() / "shop.toml";
    ASSERT_FALSE(WriteProfile(path, profile));
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "# Tervan settings profile, written by Tervan " TERVAN_VERSION ".\n"
                    "# Each key is an option of tervan-cli apply without its dashes; a setting "
                    "left out is not changed.\n\n"
                    "port = \"usb\"\n\n"
                    "manufacturer = \"A \\\"B\\\" \\\\ 打印\"\n"
                    "dot-matrix = true\n"
                    "font = \"7x9\"\n"
                    "code-page = 11\n"
                    "density = 12\n");
    EXPECT_EQ(Sent(text),
              "1B 74 0B|1B 21 00|1B 24|41 20 22 42 22 20 5C 20 B4 F2 D3 A1|00|1B FD 0C");
    // Not over a FIFO or a directory.
    ASSERT_EQ(::mkfifo((dir.Path() / "fifo.toml").c_str(), 0600), 0);
    EXPECT_TRUE(WriteProfile(dir.Path() / "fifo.toml", profile));
    EXPECT_TRUE(WriteProfile(dir.Path(), profile));
}

} // namespace
} // namespace tervan
