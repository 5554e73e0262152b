#include "bitmap/BmpBytes.h"
#include "sim/VirtualPrinter.h"
#include "support/Pgm.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <fstream>
#include <iterator>

namespace tervan::test {
namespace {

using sim::ReplyMode;
using sim::VirtualPrinter;

namespace fs = std::filesystem;

const std::string kCli = TERVAN_CLI_PATH;

// What the printer received, once `count` bytes have or the wait runs out.
Bytes Received(const VirtualPrinter& printer, std::size_t count) {
    printer.WaitForBytes(count, std::chrono::seconds(2));
    return printer.Received();
}

ProcessResult Cli(const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env = {},
                  const RunOptions& options = {}) {
    std::map<std::string, std::string> base = {{"LANG", "C.UTF-8"},
                                               {"LANGUAGE", "\x01"},
                                               {"LC_ALL", "\x01"},
                                               {"LC_MESSAGES", "\x01"},
                                               {"TERVAN_ANSI_CODEPAGE", "936"}};
    for (const auto& [k, v] : env) {
        base[k] = v;
    }
    return RunProcess(kCli, args, base, options);
}

TEST(Cli, DryRunPrintsTheConversation) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"--code-page", "11", "--density", "0", "--cutter", "on", "--serial-format",
          "115200,even,7,xon-xoff", "--mark-start", "-100", "--mark-tear", "300", "--buzzer",
          "on,off"},
         "1B 06\n1B 74 0B\n1B 32 10\n1B 23 07\n1D 28 46 04 00 01 01 64 00\n"
         "1D 28 46 04 00 02 00 2C 01\n1B FD 00\n1B 29 01\n1B 16\n"},
        {{}, "1B 06\n1B 16\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"apply", "--dry-run"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

// Bad input, and texts, offsets or code pages that would put stray or wrong bytes on the wire:
// one line naming what is wrong, exit 2, nothing opened (the port does not exist, so an attempt
// to open it would say so instead) and nothing sent.
TEST(Cli, RefusesBadInputBeforeOpening) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> mentions;
        std::map<std::string, std::string> env{};
    } cases[] = {
        {{"--cutter", "maybe"}, {"--cutter"}},
        {{"--bt-password", "123"}, {"--bt-password"}},
        {{"--bt-name", ""}, {"--bt-name"}},
        {{"--bt-name", "打印打印打印打印打印打印打印打印"},
         {"--bt-name"}}, // 16 characters, 32 bytes
        {{"--manufacturer", std::string(260, 'x')}, {"--manufacturer"}},
        {{"--mark-start", "12abc"}, {"--mark-start"}},
        {{"--serial-format", "115200,even,9,xon-xoff"}, {"--serial-format"}},
        {{"--serial-format", "9600,none,8"}, {"--serial-format"}},
        {{"--buzzer", "on"}, {"--buzzer"}},
        {{"--baud", "300"}, {"--baud"}},
        {{"--parity", "mark"}, {"--parity"}},
        {{"--data-bits", "9"}, {"--data-bits"}},
        {{"--port", "/dev/tervan-no-such-port"}, {"given twice"}},
        {{"--port", "tcp:host:0"}, {"--port", "tcp:host:0"}},
        {{"--port", "usb:1"}, {"--port", "usb:BUS-PORT"}},
        {{"--ports-from", "/dev/tervan-no-such-list"}, {"--ports-from"}},
        {{"--no-such-option", "1"}, {"--no-such-option"}},
        {{"--mark-start=+-100"}, {"--mark-start", "+-100"}},
        {{"--mark-start", "65536"}, {"--mark-start 超出范围"}, {{"LANG", "zh_CN.UTF-8"}}},
        {{"--model", "A\033\026B"}, {"--model", "U+001B"}},
        {{"--bt-name", "A\x7f"}, {"--bt-name 中含有控制字符 U+007F"}, {{"LANG", "zh_CN.UTF-8"}}},
        {{"--manufacturer", "汉字"},
         {"--manufacturer", "U+6C49", "CP1252", "TERVAN_ANSI_CODEPAGE"},
         {{"TERVAN_ANSI_CODEPAGE", "1252"}}},
        {{"--density", "3"}, {"'UTF-16'"}, {{"TERVAN_ANSI_CODEPAGE", "UTF-16"}}},
        {{"--density", "3"}, {"'nonsense'"}, {{"TERVAN_ANSI_CODEPAGE", "nonsense"}}},
        // Several at once: options that cannot be read first, then the settings in the order
        // they would be sent.
        {{"--mark-start", "abc", "--buzzer", "x"}, {"--buzzer"}},
        {{"--mark-start", "abc", "--manufacturer", ""}, {"--manufacturer"}},
        {{"--mark-tear", "abc", "--mark-start", "70000"}, {"--mark-start"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"apply", "--port", "/dev/tervan-no-such-port"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = Cli(args, c.env);
        EXPECT_EQ(r.exitCode, 2) << c.mentions[0];
        for (const std::string& mention : c.mentions) {
            EXPECT_NE(r.err.find(mention), std::string::npos) << r.err;
        }
        EXPECT_EQ(r.err.find("连接失败"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    // Fifteen Chinese characters are 30 bytes: accepted.
    EXPECT_EQ(Cli({"apply", "--dry-run", "--bt-name", "打印打印打印打印打印打印打印打"}).exitCode,
              0);
    EXPECT_EQ(Cli({"apply", "--dry-run", "--mark-start", "-65535"}).exitCode, 0);
}

// A profile saved from options gives the bytes of the same options; options given with it take
// the place of the file's; a file that is no profile is refused before anything is opened.
TEST(Cli, Profiles) {
    TempDir dir;
    const std::string shop = (dir.Path() / "shop.toml").string();
    const std::vector<std::string> settings = {"--code-page", "cp437",          "--density",
                                               "12",          "--manufacturer", "ACME"};
    std::vector<std::string> save = {"profile", "save", shop, "--port", "/dev/tervan-no-such-port"};
    save.insert(save.end(), settings.begin(), settings.end());
    ASSERT_EQ(Cli(save).exitCode, 0);
    std::vector<std::string> direct = {"apply", "--dry-run"};
    direct.insert(direct.end(), settings.begin(), settings.end());
    const std::string sent = "1B 06\n1B 74 00\n1B 24\n41 43 4D 45\n00\n1B FD 0C\n1B 16\n";
    EXPECT_EQ(Cli(direct).out, sent);
    EXPECT_EQ(Cli({"apply", "--profile", shop, "--dry-run"}).out, sent);
    EXPECT_EQ(Cli({"profile", "show", shop}).out, sent);
    EXPECT_EQ(Cli({"apply", "--profile", shop, "--dry-run", "--density", "3"}).out,
              "1B 06\n1B 74 00\n1B 24\n41 43 4D 45\n00\n1B FD 03\n1B 16\n");
    const ProcessResult onPort = Cli({"apply", "--profile", shop});
    EXPECT_EQ(onPort.exitCode, 3);
    EXPECT_NE(onPort.err.find("/dev/tervan-no-such-port"), std::string::npos) << onPort.err;

    ASSERT_EQ(::mkfifo((dir.Path() / "fifo.toml").c_str(), 0600), 0);
    const std::vector<std::string> refused[] = {
        {"apply", "--profile", (dir.Path() / "fifo.toml").string(), "--port", "/dev/null"},
        {"profile", "show", dir.Path().string()},
        {"profile", "save", (dir.Path() / "pin.toml").string(), "--bt-password", "12"},
    };
    for (const auto& args : refused) {
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
    EXPECT_FALSE(fs::exists(dir.Path() / "pin.toml"));
}

TEST(Cli, LinkThatDoesNotOpen) {
    struct Case {
        std::vector<std::string> args;
        std::string lang;
        std::string err;
    } cases[] = {
        {{"--port", "/dev/tervan-no-such-port"},
         "C.UTF-8",
         "连接失败\n/dev/tervan-no-such-port: no such port\n"},
        {{"--port", "/dev/tervan-no-such-port"},
         "zh_CN.UTF-8",
         "连接失败\n/dev/tervan-no-such-port：没有这个端口\n"},
        {{"--port", "Usb"},
         "C.UTF-8",
         "Port open failed, please check\nUSB: no printer found (0483:5720)\n"},
        {{"--port", "usb"}, "zh_CN.UTF-8", "端口打开失败，请检测\nUSB：未找到打印机 (0483:5720)\n"},
        // Not a terminal: the port state cannot be read.
        {{"--port", "/dev/null"},
         "C.UTF-8",
         "BuildCommDCB\nPort open failed, please check\n"
         "/dev/null: not a serial port (its line state cannot be read)\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"apply", "--density", "3"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = Cli(args, {{"LANG", c.lang}});
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_EQ(r.err, c.err);
    }
}

// The printer's "OK" in two pieces, the second 100 ms after the first, still counts.
TEST(Cli, AppliesOverAPseudoTerminal) {
    for (const ReplyMode mode : {ReplyMode::Ok, ReplyMode::Split}) {
        VirtualPrinter printer({.reply = mode});
        ASSERT_TRUE(printer.Start());
        const ProcessResult r = Cli({"apply", "--port", printer.SlavePath(), "--code-page", "47",
                                     "--manufacturer", "打印"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "Set successfully, restart the printer settings to take effect\n");
        EXPECT_EQ(Received(printer, 14), (Bytes{0x1B, 0x06, 0x1B, 0x74, 0x2F, 0x1B, 0x24, 0xB4,
                                                0xF2, 0xD3, 0xA1, 0x00, 0x1B, 0x16}));
    }
}

// Started with standard error closed, the port must not take descriptor 2: the messages would go
// to the printer in the middle of setup mode.
TEST(Cli, ClosedStandardErrorSendsOnlyTheProtocol) {
    VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    RunOptions options;
    options.closeStderr = true;
    const ProcessResult r =
        Cli({"apply", "--port", printer.SlavePath(), "--density", "3"}, {}, options);
    EXPECT_EQ(r.exitCode, 0);
    printer.WaitForBytes(8, std::chrono::milliseconds(100)); // any stray bytes arrive too
    EXPECT_EQ(printer.Received(), (Bytes{0x1B, 0x06, 0x1B, 0xFD, 0x03, 0x1B, 0x16}));
}

// A stop signal while the printer is silent: it still leaves setup mode, and the exit status is
// the signal's.
TEST(Cli, StopSignalLeavesSetupMode) {
    const std::pair<int, int> signals[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}};
    for (const auto& [signal, status] : signals) {
        VirtualPrinter printer({.reply = ReplyMode::Silent});
        ASSERT_TRUE(printer.Start());
        RunOptions options;
        options.whileRunning = [&printer, signal = signal](pid_t pid) {
            Received(printer, 2); // EnterSetup is out: the wait for "OK" runs
            kill(pid, signal);
        };
        const ProcessResult r =
            Cli({"apply", "--port", printer.SlavePath(), "--density", "3"}, {}, options);
        EXPECT_EQ(r.exitCode, status) << signal;
        EXPECT_EQ(Received(printer, 4), (Bytes{0x1B, 0x06, 0x1B, 0x16})) << signal;
    }
}

// A dry run that cannot write its output used to report success.
TEST(Cli, DryRunOutputThatCannotBeWritten) {
    RunOptions options;
    options.stdoutPath = "/dev/full";
    const ProcessResult r = Cli({"apply", "--dry-run", "--density", "3"}, {}, options);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("standard output cannot be written"), std::string::npos) << r.err;
}

TEST(Cli, Lists) {
    const ProcessResult pages = Cli({"list", "code-pages"});
    EXPECT_EQ(pages.exitCode, 0);
    EXPECT_NE(pages.out.find("47  Cp874"), std::string::npos);
    EXPECT_EQ(Cli({"list", "nonsense"}).exitCode, 2);
    const ProcessResult ports = Cli({"ports"});
    EXPECT_EQ(ports.exitCode, 0);
    EXPECT_TRUE(ports.out.starts_with("usb: not found\n")) << ports.out;
}

TEST(LogoCli, PrintAndRefusals) {
    const ProcessResult print = Cli({"logo", "print", "--dry-run", "--slot", "3"});
    EXPECT_EQ(print.exitCode, 0);
    EXPECT_EQ(print.out, "1C 50 03\n");

    // A 2 x 1 picture of 24 bits a pixel: refused before anything is opened or sent.
    const TempDir dir;
    const fs::path color =
        dir.Write("24bit.bmp",
                  {'B', 'M', 62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0,    0,    0,    2, 0, 0,
                   0,   1,   0,  0, 0, 1, 0, 24, 0, 0, 0,  0, 0, 8, 0,  0,    0,    0,    0, 0, 0,
                   0,   0,   0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 0, 0, 0,  0xFF, 0xFF, 0xFF, 0, 0});
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"logo", "download", "--port", "/dev/tervan-none", "--slot", "1", color.string()},
         color.string() + ": Bitmap format error, it should be black and white bitmap (--dither fs "
                          "converts it, as do --width and --paper)\n"},
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
}

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(LogoCli, ConvertWritesALogoTheDownloadTakes) {
    const TempDir dir;
    const fs::path picture =
        dir.Write("two-level.pgm", Pgm(10, 2, {0,   0,   255, 255, 0,   255, 0,   255, 0,   0,
                                               255, 255, 0,   0,   255, 0,   255, 0,   255, 255}));
    const fs::path bmp = dir.Path() / "logo.bmp";
    const fs::path png = dir.Path() / "logo.png";
    const ProcessResult r = Cli({"logo", "convert", picture.string(), bmp.string(), "--dither",
                                 "threshold", "--preview", png.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, bmp.string() + ": 10 x 2 dots, 70 bytes\n");
    EXPECT_EQ(
        ReadAll(bmp),
        (Bytes{'B',  'M',  70,   0,    0,    0,    0,    0, 0, 0,    62,   0, 0, 0, 40, 0, 0, 0, 10,
               0,    0,    0,    2,    0,    0,    0,    1, 0, 1,    0,    0, 0, 0, 0,  8, 0, 0, 0,
               0x13, 0x0B, 0,    0,    0x13, 0x0B, 0,    0, 2, 0,    0,    0, 0, 0, 0,  0, 0, 0, 0,
               0,    0xFF, 0xFF, 0xFF, 0,    0xCA, 0xC0, 0, 0, 0x35, 0x00, 0, 0}));
    // A greyscale PNG of the same 10 x 2 dots.
    const Bytes preview = ReadAll(png);
    ASSERT_GE(preview.size(), 26u);
    EXPECT_EQ(Bytes(preview.begin(), preview.begin() + 26),
              (Bytes{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I',
                     'H',  'D',  'R',  0,    0,    0,    10,   0,    0, 0, 2, 8,  0}));
    // The BMP, without options, goes the 1-bit path and sends the rows the picture converted in
    // memory sends.
    const std::string rows =
        "1B 06\n1B FF 04 04 00 02 00\nCA C0 00 00\n35 00 00 00\n1B 16\n1B 16\n";
    for (const auto& args : {std::vector<std::string>{bmp.string()},
                             std::vector<std::string>{picture.string(), "--dither", "threshold"}}) {
        std::vector<std::string> downloadArgs = {"logo", "download", "--dry-run", "--slot", "4"};
        downloadArgs.insert(downloadArgs.end(), args.begin(), args.end());
        const ProcessResult download = Cli(downloadArgs);
        EXPECT_EQ(download.exitCode, 0) << download.err;
        EXPECT_EQ(download.out, rows);
    }
}

// Refused before anything is opened or written: exit 2, one line naming what is wrong.
TEST(LogoCli, ConvertRefusals) {
    const TempDir dir;
    const std::string text = dir.Write("notes.txt", {'h', 'i', '\n'}).string();
    const std::string tall = dir.Write("tall.pgm", Pgm(576, 910, Bytes(576 * 910, 200))).string();
    const std::string fine = dir.Write("fine.pgm", Pgm(8, 1, Bytes(8, 0))).string();
    const std::string out = (dir.Path() / "out.bmp").string();
    const std::string folder = dir.Path().string();
    struct Case {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"convert", text, out},
         text + ": Not a picture that can be read (PNG, JPEG, GIF, BMP, TGA or PNM)\n"},
        {{"download", "--dry-run", "--slot", "0", text, "--paper", "58"},
         text + ": Not a picture that can be read (PNG, JPEG, GIF, BMP, TGA or PNM)\n"},
        {{"convert", tall, out},
         tall + ": A logo 576 dots wide and 910 rows high takes 65582 bytes, more than 65536; at "
                "this width at most 909 rows fit, please choose a smaller width\n"},
        {{"download", "--dry-run", "--slot", "0", tall},
         tall + ": A logo 576 dots wide and 910 rows high takes 65582 bytes, more than 65536; at "
                "this width at most 909 rows fit, please choose a smaller width\n"},
        {{"convert", fine, folder}, folder + ": not a regular file, left as it is\n"},
        {{"convert", fine, out, "--preview", folder},
         folder + ": not a regular file, left as it is\n"},
        {{"convert", fine, out, "--width", "0"},
         "--width: '0' is not a whole number of dots from 1 to 65535\n"},
        {{"convert", fine, out, "--paper", "57"}, "--paper: '57' is not one of 58, 72, 75, 80\n"},
        {{"convert", fine, out, "--paper", "58", "--width", "300"},
         "--width and --paper: give only one of them\n"},
        {{"download", "--dry-run", "--slot", "0", fine, "--dither", "threshold=256"},
         "--dither: 'threshold=256' is not one of fs, atkinson, ordered, threshold, "
         "threshold=LEVEL with a LEVEL from 0 to 255\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"logo"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult r = Cli(args);
        EXPECT_EQ(r.exitCode, 2) << c.err;
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_FALSE(fs::exists(out)) << c.err;
    }
}

// A picture given with --paper 58 is fitted to 384 dots: rows of 48 bytes reach the slot.
TEST(LogoCli, DownloadsAConvertedPicture) {
    sim::VirtualPrinter printer({.reply = sim::ReplyMode::Silent});
    ASSERT_TRUE(printer.Start());
    const TempDir dir;
    const fs::path picture = dir.Write("black.pgm", Pgm(768, 4, Bytes(768 * 4, 0)));
    const ProcessResult r = Cli({"logo", "download", "--port", printer.SlavePath(), "--slot", "2",
                                 picture.string(), "--paper", "58"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, picture.string() + ": 384 x 2 dots\nDownload bitmap success\n");
    Bytes expected = {0x1B, 0x06, 0x1B, 0xFF, 0x02, 0x30, 0x00, 0x02, 0x00};
    expected.insert(expected.end(), 2 * 48, 0xFF);
    expected.insert(expected.end(), {0x1B, 0x16, 0x1B, 0x16});
    EXPECT_EQ(Received(printer, expected.size()), expected);
}

// A printer that reads 50,000 bytes a second, stopped once it has 8,000 bytes of a 576 x 900 logo:
// the download still ends in LeaveSetup twice. A second signal gives up the blank rows: the
// printer stays in setup mode, and says so.
TEST(LogoCli, StopSignalFillsTheLogoOrAbandonsIt) {
    const TempDir dir;
    const fs::path logo =
        dir.Write("logo.bmp", MakeBmp({.width = 576, .height = 900}, Bytes(64800, 0x00)));
    const struct {
        int signals;
        const char* verdict;
    } cases[] = {
        {1, "Download stopped: slot 4 holds only part of the bitmap\n"},
        {2, "The printer is still in setup mode: switch it off and on again\n"},
    };
    for (const auto& c : cases) {
        VirtualPrinter printer({.reply = ReplyMode::Silent, .bytesPerSecond = 50000});
        ASSERT_TRUE(printer.Start());
        RunOptions options;
        options.whileRunning = [&](pid_t pid) {
            printer.WaitForBytes(8000, std::chrono::seconds(5));
            kill(pid, SIGINT);
            if (c.signals == 2) {
                printer.WaitForBytes(16000, std::chrono::seconds(5));
                kill(pid, SIGINT);
            }
        };
        const ProcessResult r =
            Cli({"logo", "download", "--port", printer.SlavePath(), "--slot", "4", logo.string()},
                {}, options);
        EXPECT_EQ(r.exitCode, 130) << c.signals;
        EXPECT_TRUE(r.err.ends_with(c.verdict)) << r.err;

        // What the line still holds arrives after the program has ended.
        const bool whole =
            printer.WaitForBytes(9 + 64800 + 4, std::chrono::seconds(c.signals == 1 ? 5 : 1));
        const Bytes got = printer.Received();
        if (c.signals == 1) {
            ASSERT_TRUE(whole);
            EXPECT_EQ(got.size(), 9u + 64800 + 4);
            EXPECT_EQ(Bytes(got.end() - 4, got.end()), (Bytes{0x1B, 0x16, 0x1B, 0x16}));
        } else {
            EXPECT_FALSE(whole);
            EXPECT_LT(got.size(), 9u + 64800);
        }
    }
}

} // namespace
} // namespace tervan::test
