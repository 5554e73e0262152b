#include "protocol/ApplySettings.h"
#include "protocol/SetupCommandTable.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <memory>

namespace tervan {
namespace {

using test::RecordingLink;
using Kind = RecordingLink::Event::Kind;

const Bytes kOk{0x4F, 0x4B};
const AnsiCodePage kCodePage{"CP936"};

// Runs the conversation on a fresh recording link with the printer's replies queued.
std::pair<ApplyOutcome, std::unique_ptr<RecordingLink>>
Apply(const PrinterSettings& settings, std::deque<Bytes> replies = {kOk}, bool usb = false) {
    auto link = std::make_unique<RecordingLink>();
    link->replies = std::move(replies);
    const ApplyOutcome outcome = ApplySettings(settings, kCodePage, *link, usb, link->Pauser());
    return {outcome, std::move(link)};
}

// The printer's replies to EnterSetup, each read after its own 100 ms pause.
void ExpectReplies(std::deque<Bytes> replies, ApplyOutcome outcome, std::size_t reads,
                   const char* writes) {
    PrinterSettings settings;
    settings.codePage = 11;
    const auto [got, link] = Apply(settings, std::move(replies));
    EXPECT_EQ(got, outcome) << writes;
    EXPECT_EQ(link->Count(Kind::Read), reads) << writes;
    EXPECT_EQ(link->Count(Kind::Pause), reads) << writes;
    EXPECT_EQ(link->Trace(true), writes);
}

TEST(ApplySettings, ReplyOutcomes) {
    // A wrong reply ends the wait at once; a silent printer is read 49 times.
    ExpectReplies({{0x4E, 0x4F}}, ApplyOutcome::WrongReply, 1, "1B 06|1B 16");
    ExpectReplies({}, ApplyOutcome::NoReply, 49, "1B 06|1B 16");
    ExpectReplies({{0x4F}, {}, {0x4B}}, ApplyOutcome::Success, 3, "1B 06|1B 74 0B|1B 16");
    ExpectReplies({{0x4F}, {0x4F}}, ApplyOutcome::WrongReply, 2, "1B 06|1B 16");
}

// An abort ends the settings where it happens; what went out before stays sent.
void ExpectAbort(TextSetting btName, const std::u16string& password, ApplyOutcome outcome,
                 const char* writes) {
    PrinterSettings s;
    s.codePage = 11;
    s.manufacturer = {true, u"ABC"};
    s.btName = std::move(btName);
    s.btPassword = {true, password};
    s.density = 3; // after the abort: never sent
    const auto [got, link] = Apply(s);
    EXPECT_EQ(got, outcome) << writes;
    EXPECT_EQ(link->Trace(true), writes);
}

TEST(ApplySettings, AbortsKeepWhatWasSent) {
    ExpectAbort({true, u""}, u"1234", ApplyOutcome::EmptyBtName,
                "1B 06|1B 74 0B|1B 24|41 42 43|00|1B 16");
    ExpectAbort({false, u""}, u"123", ApplyOutcome::BadBtPassword,
                "1B 06|1B 74 0B|1B 24|41 42 43|00|1B 16");
    ExpectAbort({true, u"P1"}, u"12345", ApplyOutcome::BadBtPassword,
                "1B 06|1B 74 0B|1B 24|41 42 43|00|1B 11|50 31|00|1B 16");
}

// Entry, text and NUL as three writes; USB alone pauses 30 ms after each text and is not purged.
TEST(ApplySettings, TextSettingsThreeWritesAndUsbPause) {
    PrinterSettings s;
    s.manufacturer = {true, u"ABC"};
    s.model = {true, u""};            // checked but empty: skipped, not an abort
    s.serialNumber = {false, u"SN1"}; // unchecked: not sent
    s.btPassword = {true, u"0000"};
    const std::pair<bool, const char*> cases[] = {
        {false, "purge|W 1B 06|P 100|R 4F 4B|W 1B 24|W 41 42 43|W 00|W 1B 10|W 30 30 30 30|W 00|"
                "W 1B 16"},
        {true, "W 1B 06|P 100|R 4F 4B|W 1B 24|W 41 42 43|W 00|P 30|W 1B 10|W 30 30 30 30|W 00|"
               "P 30|W 1B 16"},
    };
    for (const auto& [usb, trace] : cases) {
        const auto [outcome, link] = Apply(s, {kOk}, usb);
        EXPECT_EQ(outcome, ApplyOutcome::Success);
        EXPECT_EQ(link->Trace(), trace);
    }
}

TEST(ApplySettings, FailedOrShortWriteEndsTheRun) {
    struct Case {
        std::optional<std::size_t> shortAt;
        std::optional<std::size_t> failFrom;
        const char* writes;
    } cases[] = {
        // The speed command goes out short: density is not sent, LeaveSetup still is.
        {2, std::nullopt, "1B 06|1B 74 0B|1B 2C|1B 16"},
        // Everything after EnterSetup fails, LeaveSetup included: still a failure.
        {std::nullopt, 1, "1B 06"},
        {0, std::nullopt, "1B|1B 16"},
    };
    for (const Case& c : cases) {
        RecordingLink link;
        link.replies = {kOk};
        link.shortWriteAt = c.shortAt;
        link.writesBeforeFailure = c.failFrom;
        PrinterSettings s;
        s.codePage = 11;
        s.density = 5;
        s.speed = 1;
        EXPECT_EQ(ApplySettings(s, kCodePage, link, false, link.Pauser()),
                  ApplyOutcome::WriteFailed);
        EXPECT_EQ(link.Trace(true), c.writes);
    }
}

// A vanished printer cannot be reached: nothing more is tried, LeaveSetup and pauses included.
TEST(ApplySettings, VanishedPrinterEndsTheRunAtOnce) {
    struct Case {
        std::optional<std::size_t> goneAtWrite;
        bool goneAtRead;
        std::vector<Bytes> attempts;
        std::size_t pauses;
    } cases[] = {
        {0, false, {{0x1B, 0x06}}, 0},
        {std::nullopt, true, {{0x1B, 0x06}}, 1},
        {2, false, {{0x1B, 0x06}, {0x1B, 0x74, 0x0B}, {0x1B, 0x24}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attempts.size());
        RecordingLink link;
        link.replies = {kOk};
        link.goneAtWrite = c.goneAtWrite;
        link.goneAtRead = c.goneAtRead;
        PrinterSettings s;
        s.codePage = 11;
        s.manufacturer = {true, u"ABC"};
        s.density = 5;
        EXPECT_EQ(ApplySettings(s, kCodePage, link, true, link.Pauser()), ApplyOutcome::DeviceGone);
        EXPECT_EQ(link.attempts, c.attempts);
        EXPECT_EQ(link.Count(Kind::Pause), c.pauses);
    }
}

TEST(ApplySettings, OffsetsBeyondSixteenBitsAreRefusedBeforeSending) {
    struct Case {
        OffsetSetting start;
        OffsetSetting tear;
        bool refused;
    } cases[] = {
        {{true, 70000}, {}, true},
        {{}, {true, -65536}, true},
        {{true, 65535}, {true, -65535}, false},
        {{false, 70000}, {}, false}, // list at "不改变": the offset is not looked at
    };
    for (const Case& c : cases) {
        PrinterSettings s;
        s.markStart = c.start;
        s.markTear = c.tear;
        EXPECT_EQ(FindOffsetOutOfRange(s).has_value(), c.refused);
        const auto [outcome, link] = Apply(s);
        EXPECT_EQ(outcome, c.refused ? ApplyOutcome::OffsetOutOfRange : ApplyOutcome::Success);
        EXPECT_EQ(link->events.empty(), c.refused);
    }
}

// The edges of the command table: offsets keep their low 16 bits, the sign apart.
TEST(SetupCommandTable, BytesOnTheWire) {
    namespace cmd = SetupCommandTable;
    EXPECT_EQ(cmd::SetBuzzer(false, false), (Bytes{0x1B, 0x29, 0x00}));
    EXPECT_EQ(cmd::SetMarkOffset(1, 70000),
              (Bytes{0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x00, 0x70, 0x11}));
    EXPECT_EQ(cmd::SetMarkOffset(1, INT32_MIN),
              (Bytes{0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x00, 0x00}));
}

} // namespace
} // namespace tervan
