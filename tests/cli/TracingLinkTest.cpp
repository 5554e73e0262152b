#include "cli/TracingLink.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <sstream>

namespace tervan::cli {
namespace {

using test::RecordingLink;

// Each call reaches the real link, gives back what the real link answered, and leaves one line
// on the log: a time stamp in seconds, then what happened.
TEST(TracingLink, LogsEachCallOnALineOfItsOwn) {
    const struct {
        const char* name;
        std::function<void(RecordingLink&)> prepare;
        std::function<std::size_t(TracingLink&)> call;
        std::size_t answer;
        std::string line;
        std::string inner; // what the real link saw
    } cases[] = {
        {"write",
         {},
         [](TracingLink& t) {
             return t.Write(Bytes{0x1B, 0x06});
         },
         2,
         "write 1B 06",
         "W 1B 06"},
        {"short write", [](RecordingLink& l) { l.shortWriteAt = 0; },
         [](TracingLink& t) {
             return t.Write(Bytes{0x1B, 0x74, 0x0B});
         },
         2, "write 1B 74 0B (2 of 3 sent)", "W 1B 74"},
        {"failed write", [](RecordingLink& l) { l.writesBeforeFailure = 0; },
         [](TracingLink& t) {
             return t.Write(Bytes{0x1B, 0x16});
         },
         0, "write 1B 16 (0 of 2 sent)", ""},
        {"read",
         [](RecordingLink& l) {
             l.replies.push_back({0x4F, 0x4B});
         },
         [](TracingLink& t) {
             std::uint8_t reply[2];
             return t.Read(reply);
         },
         2, "read  4F 4B", "R 4F 4B"},
        {"read of part of the reply",
         [](RecordingLink& l) {
             l.replies.push_back({0x4F, 0x4B});
         },
         [](TracingLink& t) {
             std::uint8_t reply[1];
             return t.Read(reply);
         },
         1, "read  4F", "R 4F"},
        {"read of nothing",
         {},
         [](TracingLink& t) {
             std::uint8_t reply[2];
             return t.Read(reply);
         },
         0,
         "read  (nothing)",
         "R"},
        {"purge",
         {},
         [](TracingLink& t) {
             t.Purge();
             return std::size_t{0};
         },
         0,
         "purge",
         "purge"},
        {"close",
         {},
         [](TracingLink& t) {
             t.Close();
             return std::size_t{0};
         },
         0,
         "close",
         "close"},
        {"note",
         {},
         [](TracingLink& t) {
             t.Note("opened /dev/ttyUSB0");
             return std::size_t{0};
         },
         0,
         "opened /dev/ttyUSB0",
         ""},
    };
    // "[    0.000] ": seconds with three decimals, right-aligned in nine columns.
    const std::regex stamp(R"(\[ {4}0\.\d{3}\] )");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingLink inner;
        if (c.prepare) {
            c.prepare(inner);
        }
        std::ostringstream log;
        TracingLink traced(inner, log);
        EXPECT_EQ(c.call(traced), c.answer);
        EXPECT_EQ(inner.Trace(), c.inner);
        const std::string text = log.str();
        ASSERT_GE(text.size(), 12u) << text;
        EXPECT_TRUE(std::regex_match(text.substr(0, 12), stamp)) << text;
        EXPECT_EQ(text.substr(12), c.line + "\n");
    }
}

} // namespace
} // namespace tervan::cli
