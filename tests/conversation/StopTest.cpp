#include "bitmap/BitmapMessages.h"
#include "bitmap/BitmapTransfer.h"
#include "bitmap/BmpBytes.h"
#include "protocol/ApplySettings.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// 576 x 900, every dot black (FF on the wire): 72-byte rows, 64,800 bytes promised to slot 4.
LoadResult Logo576x900() {
    return LoadBitmapBytes(test::MakeBmp({.width = 576, .height = 900}, Bytes(64800, 0x00)));
}

Bytes WireBytes(const RecordingLink& link) {
    Bytes wire;
    for (const Bytes& write : link.Writes()) {
        wire.insert(wire.end(), write.begin(), write.end());
    }
    return wire;
}

const Bytes kDownloadHeader{0x1B, 0x06, 0x1B, 0xFF, 0x04, 0x48, 0x00, 0x84, 0x03};

// The printer takes every byte after StoreBitmap as a dot until 64,800 have come: a stop sends the
// rest as blank (00) dots, exactly, then the download ends as it always does. A second stop
// during the blank rows gives them up at once, and the printer stays in setup mode.
TEST(Stop, DownloadSendsEveryPromisedByte) {
    struct Case {
        const char* name;
        std::size_t stopAt;                  // stop once the printer has taken this many bytes
        std::optional<std::size_t> cutWrite; // or: a stop makes this write give up after 30 bytes
        std::size_t abandonAt;               // abandon once it has taken this many (0: never)
        std::size_t black;
        std::size_t blank;
        const char* end; // the time line after the last dot
        DownloadOutcome outcome;
        const char* verdict;
    } cases[] = {
        {"stopped after 8,000 bytes", 8000, std::nullopt, 0, 8064, 56736,
         "|P 500|W 1B 16|P 500|W 1B 16", DownloadOutcome::Stopped,
         "Download stopped: slot 4 holds only part of the bitmap"},
        {"stopped in the middle of row 50", 0, 52, 0, 3630, 61170, "|P 500|W 1B 16|P 500|W 1B 16",
         DownloadOutcome::Stopped, "Download stopped: slot 4 holds only part of the bitmap"},
        {"second stop while filling", 8000, std::nullopt, 16000, 8064, 7992, "",
         DownloadOutcome::Abandoned,
         "The printer is still in setup mode: switch it off and on again"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingLink link;
        StopToken stop;
        link.shortWriteAt = c.cutWrite;
        link.shortWriteSends = 30;
        link.onWrite = [&](std::size_t index) {
            if (index == c.cutWrite) {
                stop.RequestStop();
            }
        };
        std::size_t fillReports = 0;
        const auto progress = [&](const DownloadProgress& p) {
            fillReports += p.filling ? 1 : 0;
            if (c.stopAt != 0 && p.bytesTaken >= c.stopAt) {
                stop.RequestStop();
            }
            if (c.abandonAt != 0 && p.bytesTaken >= c.abandonAt) {
                stop.RequestAbandon();
            }
        };
        const DownloadResult result =
            DownloadBitmap(link, 4, Logo576x900(), link.Pauser(), stop, progress);

        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(DownloadText(result, Language::English), c.verdict);
        Bytes dots = kDownloadHeader;
        dots.insert(dots.end(), c.black, 0xFF);
        dots.insert(dots.end(), c.blank, 0x00);
        const Bytes wire = WireBytes(link);
        ASSERT_EQ(wire.size(), dots.size() + (c.end[0] == '\0' ? 0 : 4));
        EXPECT_TRUE(std::equal(dots.begin(), dots.end(), wire.begin()));
        const std::string trace = link.Trace();
        EXPECT_TRUE(trace.ends_with(std::string(" 00") + c.end)) << trace.substr(trace.size() - 60);
        EXPECT_GT(fillReports, 0u);
    }
}

// A printer that has stopped taking bytes: the stop cuts the row short, the first blank write
// fails (at the stall limit), and the download ends as a failed one always has.
TEST(Stop, FillThatFailsEndsAsAFailedDownload) {
    RecordingLink link;
    StopToken stop;
    link.shortWriteAt = 52;
    link.shortWriteSends = 30;
    link.writesBeforeFailure = 53;
    link.onWrite = [&](std::size_t index) {
        if (index == 52) {
            stop.RequestStop();
        }
    };
    const DownloadResult result = DownloadBitmap(link, 4, Logo576x900(), link.Pauser(), stop);
    EXPECT_EQ(result.outcome, DownloadOutcome::WriteFailed);
    EXPECT_EQ(DownloadText(result, Language::English), "Download bitmap failed");
    // EnterSetup, StoreBitmap, rows 0 to 50, the rest of row 50 blank, LeaveSetup twice.
    ASSERT_EQ(link.attempts.size(), 56u);
    EXPECT_EQ(link.attempts[53], Bytes(42, 0x00));
    EXPECT_EQ(link.attempts[54], (Bytes{0x1B, 0x16}));
    EXPECT_EQ(link.attempts[55], (Bytes{0x1B, 0x16}));
    EXPECT_EQ(link.Count(Kind::Pause), 2u);
}

TEST(Stop, BeforeTheStartNothingIsSent) {
    RecordingLink link;
    StopToken stop;
    stop.RequestStop();
    EXPECT_EQ(DownloadBitmap(link, 4, Logo576x900(), link.Pauser(), stop).outcome,
              DownloadOutcome::Stopped);
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
