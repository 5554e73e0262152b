#include "cli/ProgressBar.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace tervan::cli {
namespace {

struct Step {
    std::size_t done;
    std::size_t total;
    std::size_t bytes;
    std::chrono::milliseconds before{0}; // time that passes before this update
};

// The line as the terminal is sent it, the rate (which depends on the clock) shown as N.
std::string Drawn(const std::vector<Step>& steps) {
    std::ostringstream out;
    {
        ProgressBar bar(out);
        for (const Step& step : steps) {
            std::this_thread::sleep_for(step.before);
            bar.Update(step.done, step.total, step.bytes);
        }
    }
    return std::regex_replace(out.str(), std::regex(R"(rows  \d+ B/s)"), "rows  N B/s");
}

TEST(ProgressBar, RedrawsOneLineInPlace) {
    using namespace std::chrono_literals;
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::string drawn;
    } cases[] = {
        {"nothing to show", {}, ""},
        {"a part done",
         {{40, 100, 960}},
         "\r[############------------------] 40/100 rows  N B/s \n"},
        {"no bytes yet", {{0, 8, 0}}, "\r[------------------------------] 0/8 rows  N B/s \n"},
        {"nothing to send: full",
         {{0, 0, 0}},
         "\r[##############################] 0/0 rows  N B/s \n"},
        // A redraw per row would cost more than the row on a fast link; the last one always shows.
        {"rows close together",
         {{1, 3, 10}, {2, 3, 20}, {3, 3, 30}},
         "\r[##########--------------------] 1/3 rows  N B/s "
         "\r[##############################] 3/3 rows  N B/s \n"},
        {"rows far apart",
         {{1, 3, 10}, {2, 3, 20, 150ms}},
         "\r[##########--------------------] 1/3 rows  N B/s "
         "\r[####################----------] 2/3 rows  N B/s \n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Drawn(c.steps), c.drawn);
    }
}

} // namespace
} // namespace tervan::cli
