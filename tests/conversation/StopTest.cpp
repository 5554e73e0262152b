#include "bitmap/BitmapTransfer.h"
#include "bitmap/BmpBytes.h"
#include "protocol/ApplySettings.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <string>

// A stop (Cancel in a window, a signal on the command line) ends a conversation within one pause,
// and the printer never stays in setup mode: without these, a stopped run left it there.
namespace tervan {
namespace {

using test::RecordingLink;
using Kind = RecordingLink::Event::Kind;
using std::chrono::milliseconds;

const Bytes kOk{0x4F, 0x4B};
const AnsiCodePage kCodePage{"CP936"};

// Records each pause and trips the token at the given one (1-based; 0: before the start).
PauseFn TrippingPauser(RecordingLink& link, StopToken& stop, int tripAt) {
    if (tripAt == 0) {
        stop.RequestStop();
    }
    return [&link, &stop, tripAt, count = 0](milliseconds d) mutable {
        link.events.push_back({Kind::Pause, {}, d});
        if (++count == tripAt) {
            stop.RequestStop();
        }
    };
}

TEST(Stop, ApplyLeavesSetupModeOnceEntered) {
    struct Case {
        const char* name;
        std::deque<Bytes> replies;
        int tripAtPause;
        int tripAfterCommand; // 0: none
        const char* writes;
        std::size_t reads;
    } cases[] = {
        {"before the start", {kOk}, 0, 0, "", 0},
        {"while waiting for OK", {}, 3, 0, "1B 06|1B 16", 2},
        {"between two settings", {kOk}, -1, 1, "1B 06|1B 74 0B|1B 16", 1},
    };
    for (const Case& c : cases) {
        RecordingLink link;
        link.replies = c.replies;
        StopToken stop;
        PrinterSettings settings;
        settings.codePage = 11;
        settings.density = 3;
        const ApplyProgressFn progress = [&](const ApplyProgress& p) {
            if (p.phase == ApplyPhase::Sending && p.step == c.tripAfterCommand) {
                stop.RequestStop();
            }
        };
        EXPECT_EQ(ApplySettings(settings, kCodePage, link, false,
                                TrippingPauser(link, stop, c.tripAtPause), stop, progress),
                  ApplyOutcome::Stopped)
            << c.name;
        EXPECT_EQ(link.Trace(true), c.writes) << c.name;
        EXPECT_EQ(link.Count(Kind::Read), c.reads) << c.name;
    }
}

TEST(Stop, DownloadEndsAsADownloadDoesAndPrintSendsNothing) {
    const LoadResult logo =
        LoadBitmapBytes(test::MakeBmp({.width = 384, .height = 100}, Bytes(4800, 0)));
    for (const bool stopFirst : {true, false}) {
        RecordingLink link;
        StopToken stop;
        if (stopFirst) {
            stop.RequestStop();
        }
        const DownloadResult result =
            DownloadBitmap(link, 1, logo, link.Pauser(), stop, [&](const DownloadProgress& p) {
                if (p.rowsSent == 10) {
                    stop.RequestStop();
                }
            });
        EXPECT_EQ(result.outcome, DownloadOutcome::Stopped);
        EXPECT_EQ(static_cast<int>(result.message), 116);
        if (stopFirst) {
            EXPECT_TRUE(link.events.empty());
            continue;
        }
        // EnterSetup, StoreBitmap, ten rows, then 500 ms, LeaveSetup, 500 ms, LeaveSetup.
        const auto writes = link.Writes();
        ASSERT_EQ(writes.size(), 2u + 10u + 2u);
        EXPECT_EQ(writes[0], (Bytes{0x1B, 0x06}));
        EXPECT_EQ(writes[1], (Bytes{0x1B, 0xFF, 0x01, 0x30, 0x00, 0x64, 0x00}));
        EXPECT_EQ(writes[12], writes[13]);
        EXPECT_EQ(writes[13], (Bytes{0x1B, 0x16}));
        EXPECT_EQ(link.Count(Kind::Pause), 2u);
    }
    RecordingLink link;
    StopToken stop;
    stop.RequestStop();
    EXPECT_FALSE(PrintBitmap(link, 3, stop));
    EXPECT_TRUE(link.events.empty());
}

// The windows show this while the conversation runs on a worker thread.
TEST(Progress, ApplyReportsTheWaitThenEachCommand) {
    RecordingLink link;
    link.replies = {{}, kOk};
    PrinterSettings settings;
    settings.codePage = 11;
    settings.manufacturer = {true, u"ABC"};
    std::vector<std::string> seen;
    const ApplyProgressFn progress = [&](const ApplyProgress& p) {
        seen.push_back((p.phase == ApplyPhase::WaitingForOk ? "wait " : "send ") +
                       std::to_string(p.step) + "/" + std::to_string(p.total));
    };
    EXPECT_EQ(ApplySettings(settings, kCodePage, link, false, link.Pauser(), NeverStop(), progress),
              ApplyOutcome::Success);
    EXPECT_EQ(seen, (std::vector<std::string>{"wait 1/49", "wait 2/49", "send 0/2", "send 1/2",
                                              "send 2/2"}));
}

} // namespace
} // namespace tervan
