#include "base/Bytes.h"
#include "sim/VirtualPrinter.h"
#include "support/RunProcess.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

namespace tervan {
namespace {

using namespace std::chrono_literals;

// The bytes of a dry run's lines of hex.
Bytes FromHexLines(const std::string& text) {
    Bytes bytes;
    std::istringstream in(text);
    unsigned value = 0;
    while (in >> std::hex >> value) {
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

// The manufacturer "测试" between setup mode's first and last command.
Bytes Conversation(Bytes text) {
    text.insert(text.begin(), {0x1B, 0x06, 0x1B, 0x24});
    text.insert(text.end(), {0x00, 0x1B, 0x16});
    return text;
}

// The window and the command line pick the same code page from the same environment, whatever
// the toolkit makes of the locale once it runs.
TEST(CodePage, WindowAndCommandLineAgreePerEnvironment) {
    const struct {
        const char* name;
        std::map<std::string, std::string> env;
        std::optional<Bytes> text; // none: refused before anything is sent
    } cases[] = {
        {"zh_CN, not installed", {{"LANG", "zh_CN.UTF-8"}}, Bytes{0xB2, 0xE2, 0xCA, 0xD4}},
        {"LC_CTYPE before LANG",
         {{"LC_CTYPE", "zh_CN.UTF-8"}, {"LANG", "en_US.UTF-8"}},
         Bytes{0xB2, 0xE2, 0xCA, 0xD4}},
        {"asked for UTF-8",
         {{"TERVAN_ANSI_CODEPAGE", "65001"}, {"LANG", "zh_CN.UTF-8"}},
         Bytes{0xE6, 0xB5, 0x8B, 0xE8, 0xAF, 0x95}},
        {"traditional Chinese lacks it", {{"LC_ALL", "zh_TW.UTF-8"}}, std::nullopt},
        {"no language: 1252 lacks it", {{"LANG", "C.UTF-8"}}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::map<std::string, std::string> env{{"LC_ALL", "\x01"},
                                               {"LC_CTYPE", "\x01"},
                                               {"LANG", "\x01"},
                                               {"LANGUAGE", "zh_CN"},
                                               {"TERVAN_ANSI_CODEPAGE", "\x01"},
                                               {"QT_QPA_PLATFORM", "offscreen"}};
        for (const auto& [name, value] : c.env) {
            env[name] = value;
        }

        const auto cli = test::RunProcess(TERVAN_CLI_PATH,
                                          {"apply", "--dry-run", "--manufacturer", "测试"}, env);
        EXPECT_EQ(cli.exitCode, c.text ? 0 : 2) << cli.err;
        EXPECT_EQ(FromHexLines(cli.out), c.text ? Conversation(*c.text) : Bytes{});

        sim::VirtualPrinter printer;
        ASSERT_TRUE(printer.Start());
        const auto window =
            test::RunProcess(TERVAN_DRIVEN_WINDOW, {"--port", printer.SlavePath()}, env);
        EXPECT_EQ(window.exitCode, 0) << window.err;
        const Bytes wire = c.text ? Conversation(*c.text) : Bytes{};
        printer.WaitForBytes(wire.size(), 2s);
        EXPECT_EQ(printer.Received(), wire);
        EXPECT_TRUE(window.out.starts_with(c.text ? "成功: 设置成功" : "错误: ")) << window.out;
    }
}

} // namespace
} // namespace tervan
