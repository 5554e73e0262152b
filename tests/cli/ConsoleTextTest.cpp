#include "cli/ConsoleText.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace tervan::cli {
namespace {

// A stream that is a console or not, and keeps what it was shown.
class FakeDevice : public OutputDevice {
public:
    explicit FakeDevice(bool console) : m_console(console) {}
    bool IsConsole() const override { return m_console; }
    bool WriteConsoleText(std::u16string_view text) override {
        m_shown += text;
        return true;
    }

    std::u16string m_shown;

private:
    bool m_console;
};

// A console gets UTF-16 text, never half a character; a file or a pipe gets the UTF-8 bytes.
TEST(ConsoleText, ConsoleOrNot) {
    const struct {
        const char* name;
        bool console;
        std::vector<std::string> writes; // each one flushed
        std::u16string shownAtFirstFlush;
        std::u16string shown;
        std::string bytes;
    } cases[] = {
        {"console", true, {"连接失败\n"}, u"连接失败\n", u"连接失败\n", ""},
        {"character cut between writes", true, {"\xE8\xBF", "\x9E接\n"}, u"", u"连接\n", ""},
        {"bytes that are no UTF-8",
         true,
         {"A\xFF\xC0\xAF B\n"},
         u"A\uFFFD\uFFFD\uFFFD B\n",
         u"A\uFFFD\uFFFD\uFFFD B\n",
         ""},
        {"cut off at the end", true, {"A\xE8\xBF"}, u"A", u"A\uFFFD\uFFFD", ""},
        {"a file or a pipe", false, {"连接失败\n"}, u"", u"", "连接失败\n"},
    };
    for (const auto& c : cases) {
        std::ostringstream underlying;
        std::ostream stream(underlying.rdbuf());
        FakeDevice device(c.console);
        {
            const ConsoleRoute route(stream, device);
            for (const std::string& text : c.writes) {
                stream << text << std::flush;
                if (&text == &c.writes.front()) {
                    EXPECT_EQ(device.m_shown, c.shownAtFirstFlush) << c.name;
                }
            }
        }
        EXPECT_EQ(device.m_shown, c.shown) << c.name;
        EXPECT_EQ(underlying.str(), c.bytes) << c.name;
        EXPECT_TRUE(stream.good()) << c.name;
        // The stream has its own buffer back.
        EXPECT_EQ(stream.rdbuf(), underlying.rdbuf()) << c.name;
    }
}

} // namespace
} // namespace tervan::cli
