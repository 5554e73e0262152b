#include "cli/Fleet.h"
#include "cli/ApplyCommand.h"
#include "protocol/ApplySettings.h"
#include "sim/VirtualPrinter.h"
#include "support/RunProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <mutex>
#include <sstream>

// Several printers at once: each its own conversation on its own link and thread.
namespace tervan::cli {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using sim::ReplyMode;
using sim::VirtualPrinter;

// The settle pause each printer's conversation began with, when it began; slept for real.
struct SettleTimes {
    std::mutex mutex;
    std::vector<Clock::time_point> starts;
    PauseFn For(const StopToken& stop) {
        return [this, sleep = StoppablePause(stop)](std::chrono::milliseconds d) {
            if (d == 500ms) {
                const std::scoped_lock lock(mutex);
                starts.push_back(Clock::now());
            }
            sleep(d);
        };
    }
};

// Four printers, one silent: three succeed, the silent one fails with "Set fails" and decides the
// exit status; every printer leaves setup mode, and the conversations ran side by side.
TEST(Fleet, FourPrintersOneSilent) {
    std::vector<std::unique_ptr<VirtualPrinter>> printers;
    std::vector<std::string> ports;
    for (const ReplyMode reply : {ReplyMode::Ok, ReplyMode::Silent, ReplyMode::Ok, ReplyMode::Ok}) {
        printers.push_back(
            std::make_unique<VirtualPrinter>(sim::VirtualPrinterOptions{.reply = reply}));
        ASSERT_TRUE(printers.back()->Start());
        ports.push_back(printers.back()->SlavePath());
    }
    std::ostringstream out;
    SettleTimes settles;
    const StopToken stop;
    FleetSetup setup{out, stop, [&](const StopToken& s) { return settles.For(s); }};
    LinkOptions options;
    const int status = RunOnPrinters(ports, options, {}, setup, [](const Session& session) {
        PrinterSettings settings;
        settings.density = 3;
        const ApplyOutcome outcome = ApplySettings(settings, AnsiCodePage{"CP1252"}, session.link,
                                                   session.isUsb, session.pause, session.stop);
        session.say(LoadString(VerdictText(outcome), Language::English));
        return outcome == ApplyOutcome::Success ? 0 : 1;
    });
    EXPECT_EQ(status, 1);
    const std::string report = out.str();
    const Bytes set{0x1B, 0x06, 0x1B, 0xFD, 0x03, 0x1B, 0x16};
    const Bytes enteredLeft{0x1B, 0x06, 0x1B, 0x16};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        const bool silent = i == 1;
        const std::size_t at = report.find(ports[i] + (silent ? "  failed  " : "  ok  "));
        ASSERT_NE(at, std::string::npos) << report;
        EXPECT_NE(report.find(silent ? "Set fails, please check"
                                     : "Set successfully, restart the printer settings to take "
                                       "effect",
                              at),
                  std::string::npos)
            << report;
        // The printer may still be reading the last bytes when the command is done.
        printers[i]->WaitForBytes((silent ? enteredLeft : set).size(), 1s);
        EXPECT_EQ(printers[i]->Received(), silent ? enteredLeft : set) << ports[i];
    }
    // One after another, each settle would begin 600 ms after the one before.
    ASSERT_EQ(settles.starts.size(), 4u);
    const auto [first, last] = std::minmax_element(settles.starts.begin(), settles.starts.end());
    EXPECT_LT(*last - *first, 400ms);
}

TEST(Fleet, ReportLines) {
    const PrinterReport report{
        "tcp:[::1]:9100",
        3,
        "no-link",
        {"Port open failed, please check\ntcp:[::1]:9100: stopped", "say \"hi\"\t\x01 \xff"},
        1.23456,
        0};
    EXPECT_EQ(ReportLine(report), "tcp:[::1]:9100  no-link  1.23 s  Port open failed, please check "
                                  "tcp:[::1]:9100: stopped; say \"hi\"\t\x01 \xff");
    EXPECT_EQ(ReportJson(report),
              "{\"port\":\"tcp:[::1]:9100\",\"verdict\":\"no-link\",\"exit_status\":3,"
              "\"message\":\"Port open failed, please check\\ntcp:[::1]:9100: stopped\\nsay "
              "\\\"hi\\\"\\t\\u0001 \xEF\xBF\xBD\",\"seconds\":1.235,\"bytes_sent\":0}");
}

// SIGINT stops every printer: each leaves setup mode, reports "stopped", and the exit status is
// the signal's.
TEST(Fleet, StopSignalReachesEveryPrinter) {
    std::vector<std::unique_ptr<VirtualPrinter>> printers;
    std::vector<std::string> args = {"apply", "--json", "--density", "3"};
    for (int i = 0; i < 3; ++i) {
        printers.push_back(std::make_unique<VirtualPrinter>(
            sim::VirtualPrinterOptions{.reply = ReplyMode::Silent}));
        ASSERT_TRUE(printers.back()->Start());
        args.insert(args.end(), {"--port", printers.back()->SlavePath()});
    }
    test::RunOptions options;
    options.whileRunning = [&](pid_t pid) {
        for (const auto& printer : printers) {
            printer->WaitForBytes(2, 3s); // EnterSetup is out everywhere
        }
        kill(pid, SIGINT);
    };
    const Clock::time_point start = Clock::now();
    const test::ProcessResult r = test::RunProcess(TERVAN_CLI_PATH, args, {}, options);
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ(r.exitCode, 130);
    for (const auto& printer : printers) {
        printer->WaitForBytes(4, 1s);
        EXPECT_EQ(printer->Received(), (Bytes{0x1B, 0x06, 0x1B, 0x16}));
        EXPECT_NE(r.out.find("{\"port\":\"" + printer->SlavePath() +
                             "\",\"verdict\":\"stopped\",\"exit_status\":130,"),
                  std::string::npos)
            << r.out;
    }
}

} // namespace
} // namespace tervan::cli
