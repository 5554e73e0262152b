#include "bitmap/BitmapTransfer.h"

#include "BmpBytes.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

using namespace std::chrono_literals;
using test::MakeBmp;
using test::RecordingLink;
using Kind = RecordingLink::Event::Kind;

const Bytes kEnterSetup{0x1B, 0x06};
const Bytes kLeaveSetup{0x1B, 0x16};

// 384 x 100: file row r holds the byte r, so the first row sent (the file's last) is 0x9C.
LoadResult Logo384x100() {
    Bytes rows;
    for (int r = 0; r < 100; ++r) {
        rows.insert(rows.end(), 48, static_cast<std::uint8_t>(r));
    }
    return LoadBitmapBytes(MakeBmp({.width = 384, .height = 100}, rows));
}

TEST(DownloadBitmap, StoresTopLineFirstThenLeavesSetupTwice) {
    RecordingLink link;
    std::vector<DownloadProgress> progress;
    const DownloadResult result =
        DownloadBitmap(link, 8, Logo384x100(), link.Pauser(), NeverStop(),
                       [&](const DownloadProgress& p) { progress.push_back(p); });

    EXPECT_EQ(result.outcome, DownloadOutcome::Stored);
    EXPECT_EQ(static_cast<int>(result.message), 117);
    ASSERT_EQ(link.events.size(), 2u + 100u + 4u);
    EXPECT_EQ(link.events[0].bytes, kEnterSetup);
    EXPECT_EQ(link.events[1].bytes, (Bytes{0x1B, 0xFF, 0x08, 0x30, 0x00, 0x64, 0x00}));
    for (std::size_t r = 0; r < 100; ++r) {
        ASSERT_EQ(link.events[2 + r].kind, Kind::Write);
        ASSERT_EQ(link.events[2 + r].bytes, Bytes(48, static_cast<std::uint8_t>(0x9C + r))) << r;
    }
    const auto& tail = link.events;
    EXPECT_EQ(tail[102].kind, Kind::Pause);
    EXPECT_EQ(tail[102].pause, 500ms);
    EXPECT_EQ(tail[103].bytes, kLeaveSetup);
    EXPECT_EQ(tail[104].kind, Kind::Pause);
    EXPECT_EQ(tail[104].pause, 500ms);
    EXPECT_EQ(tail[105].bytes, kLeaveSetup);

    ASSERT_EQ(progress.size(), 100u);
    EXPECT_EQ(progress.back().rowsTaken, 100u);
    EXPECT_EQ(progress.back().rowsTotal, 100u);
    EXPECT_EQ(progress.back().bytesTaken, 4800u);
    EXPECT_EQ(progress.back().bytesTotal, 4800u);
}

TEST(DownloadBitmap, RowCountAbove255TravelsLowByteFirst) {
    RecordingLink link;
    const LoadResult load = LoadBitmapBytes(MakeBmp({.width = 8, .height = 600}, Bytes(2400, 0)));
    DownloadBitmap(link, 0, load, link.Pauser());
    ASSERT_GE(link.Writes().size(), 2u);
    EXPECT_EQ(link.Writes()[1], (Bytes{0x1B, 0xFF, 0x00, 0x04, 0x00, 0x58, 0x02}));
    EXPECT_EQ(link.Writes().size(), 2u + 600u + 2u);
}

// A load that fails sends LeaveSetup alone, except a file that could not be opened: nothing.
TEST(DownloadBitmap, RefusedFileSendsNoMoreThanLeaveSetup) {
    const struct {
        const char* name;
        LoadResult load;
        std::size_t leaveSetups;
        DownloadOutcome outcome;
        int message;
    } cases[] = {
        {"FileCannotBeOpened", LoadBitmapFile("/nonexistent/logo.bmp"), 0,
         DownloadOutcome::FileNotOpened, 112},
        {"HeaderReadFails", LoadBitmapBytes(Bytes(10, 0x42)), 1, DownloadOutcome::FileRefused, 112},
        {"TooLarge", LoadResult(LoadOutcome::TooLarge), 1, DownloadOutcome::FileRefused, 113},
        {"NotMonochrome", LoadResult(LoadOutcome::NotMonochrome), 1, DownloadOutcome::FileRefused,
         114},
        {"Malformed", LoadResult(LoadOutcome::Malformed), 1, DownloadOutcome::FileRefused, 114},
        {"Truncated", LoadResult(LoadOutcome::Truncated), 1, DownloadOutcome::FileRefused, 112},
        {"RowsLargerThanTheirBuffer", LoadResult(BitmapRows{Bytes(4, 0), 4, 2}), 1,
         DownloadOutcome::FileRefused, 114},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingLink link;
        const DownloadResult result = DownloadBitmap(link, 0, c.load, link.Pauser());
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(static_cast<int>(result.message), c.message);
        EXPECT_EQ(link.Count(Kind::Pause), 0u);
        EXPECT_EQ(link.Writes(), std::vector<Bytes>(c.leaveSetups, kLeaveSetup));
    }
}

// The printer vanishing or stalling mid-download: the rows stop at the first failed or short
// write, the closing pauses and both LeaveSetups are still attempted, and the outcome is 116.
TEST(DownloadBitmap, FailedWriteStopsRowsAndStillLeavesSetup) {
    const struct {
        const char* name;
        std::optional<std::size_t> failFrom;
        std::optional<std::size_t> shortAt;
        std::size_t attemptsBeforeClosing; // EnterSetup, StoreBitmap and rows tried
        std::size_t rowsReported;
    } cases[] = {
        {"NothingGoesOut", 0, {}, 1, 0},          {"HeaderFails", 1, {}, 2, 0},
        {"VanishesAfterTenRows", 12, {}, 13, 10}, {"FourthRowShort", {}, 5, 6, 3},
        {"LastRowShort", {}, 101, 102, 99},       {"SecondLeaveSetupFails", 103, {}, 102, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingLink link;
        link.writesBeforeFailure = c.failFrom;
        link.shortWriteAt = c.shortAt;
        std::size_t reported = 0;
        const DownloadResult result =
            DownloadBitmap(link, 1, Logo384x100(), link.Pauser(), NeverStop(),
                           [&](const DownloadProgress& p) { reported = p.rowsTaken; });
        EXPECT_EQ(result.outcome, DownloadOutcome::WriteFailed);
        EXPECT_EQ(static_cast<int>(result.message), 116);
        EXPECT_EQ(reported, c.rowsReported);
        ASSERT_EQ(link.attempts.size(), c.attemptsBeforeClosing + 2);
        EXPECT_EQ(link.attempts[c.attemptsBeforeClosing], kLeaveSetup);
        EXPECT_EQ(link.attempts[c.attemptsBeforeClosing + 1], kLeaveSetup);
        EXPECT_EQ(link.Count(Kind::Pause), 2u);
    }
}

// A vanished printer is not waited for: no closing pause, no LeaveSetup.
TEST(DownloadBitmap, VanishedPrinterEndsTheDownloadAtOnce) {
    RecordingLink link;
    link.goneAtWrite = 12; // EnterSetup, StoreBitmap, ten rows
    const DownloadResult result = DownloadBitmap(link, 1, Logo384x100(), link.Pauser());
    EXPECT_EQ(result.outcome, DownloadOutcome::DeviceGone);
    EXPECT_EQ(static_cast<int>(result.message), 116);
    EXPECT_EQ(link.attempts.size(), 13u);
    EXPECT_EQ(link.Count(Kind::Pause), 0u);
}

// On a serial port the system holds up to some kilobytes the printer has yet to take: the
// progress counts only what it has taken, and the closing pauses wait until it has everything.
TEST(DownloadBitmap, ProgressCountsWhatThePrinterHasTaken) {
    const struct {
        const char* name;
        std::size_t drainPerLook;       // bytes the printer takes during each pause
        std::size_t looks;              // 50 ms pauses before the first 500 ms one
        std::vector<std::size_t> taken; // bytes taken after rows 20, 21 and 100, then at each look
        DownloadOutcome outcome;
    } cases[] = {
        {"queue drains", 400, 3, {0, 8, 3800, 4200, 4600, 4800}, DownloadOutcome::Stored},
        // A printer that takes nothing more: the wait ends after the stall limit, 10 s, and the
        // rows it never took fail the download, though the closing commands still find room.
        {"queue stuck", 0, 200, {0, 8, 3800, 3800, 3800, 3800}, DownloadOutcome::WriteFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingLink link;
        link.queued = 1000;
        std::vector<std::size_t> taken;
        const PauseFn pause = [&](std::chrono::milliseconds d) {
            link.events.push_back({Kind::Pause, {}, d});
            link.queued -= std::min(link.queued, c.drainPerLook);
        };
        const DownloadResult result = DownloadBitmap(
            link, 8, Logo384x100(), pause, NeverStop(), [&](const DownloadProgress& p) {
                if (p.rowsTaken * 48 > p.bytesTaken || p.rowsTaken * 48 + 48 <= p.bytesTaken) {
                    ADD_FAILURE() << p.rowsTaken << " rows, " << p.bytesTaken << " bytes";
                }
                taken.push_back(p.bytesTaken);
            });
        EXPECT_EQ(result.outcome, c.outcome);
        ASSERT_EQ(taken.size(), 100u + c.looks);
        EXPECT_EQ(taken[19], c.taken[0]);
        EXPECT_EQ(taken[20], c.taken[1]);
        EXPECT_EQ(taken[99], c.taken[2]);
        EXPECT_EQ(std::vector<std::size_t>(taken.begin() + 100,
                                           taken.begin() + 100 + std::min<std::size_t>(c.looks, 3)),
                  std::vector<std::size_t>(c.taken.begin() + 3, c.taken.end()));
        std::string closing;
        for (std::size_t i = 0; i < c.looks; ++i) {
            closing += "|P 50";
        }
        EXPECT_TRUE(link.Trace().ends_with(closing + "|P 500|W 1B 16|P 500|W 1B 16"));
    }
}

TEST(PrintBitmap, SendsPrintStoredBitmapAlone) {
    RecordingLink link;
    EXPECT_TRUE(PrintBitmap(link, 3));
    ASSERT_EQ(link.events.size(), 1u);
    EXPECT_EQ(link.events[0].bytes, (Bytes{0x1C, 0x50, 0x03}));

    RecordingLink gone;
    gone.writesBeforeFailure = 0;
    EXPECT_FALSE(PrintBitmap(gone, 3));
}

} // namespace
} // namespace tervan
