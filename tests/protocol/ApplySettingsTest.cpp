#include "protocol/ApplySettings.h"
#include "protocol/WaitForOk.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tervan {
namespace {

using test::RecordingLink;
using Kind = RecordingLink::Event::Kind;
using std::chrono::milliseconds;

const Bytes kOk{0x4F, 0x4B};
const Bytes kEnter{0x1B, 0x06};
const Bytes kLeave{0x1B, 0x16};

class ApplySettingsTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TERVAN_ANSI_CODEPAGE", "936", 1); }
    void TearDown() override { unsetenv("TERVAN_ANSI_CODEPAGE"); }

    ApplyOutcome Run(const PrinterSettings& settings, bool usb = false) {
        return ApplySettings(settings, link, usb, link.Pauser());
    }
    RecordingLink link;
};

// The whole time line: purge, writes, pauses and reads, e.g. "purge|W 1B 06|P 100|R 4F 4B".
std::string Trace(const RecordingLink& link) {
    std::string out;
    for (const auto& e : link.events) {
        std::string item;
        switch (e.kind) {
        case Kind::Purge:
            item = "purge";
            break;
        case Kind::Pause:
            item = "P " + std::to_string(e.pause.count());
            break;
        case Kind::Write:
        case Kind::Read:
            item = e.kind == Kind::Write ? "W" : "R";
            for (std::uint8_t b : e.bytes) {
                static constexpr char kHex[] = "0123456789ABCDEF";
                item += {' ', kHex[b >> 4], kHex[b & 0x0F]};
            }
            break;
        case Kind::Close:
            item = "close";
            break;
        }
        out += (out.empty() ? "" : "|") + item;
    }
    return out;
}

TEST_F(ApplySettingsTest, FormLeftAtNoChange) {
    link.replies = {kOk};
    EXPECT_EQ(Run({}), ApplyOutcome::Success);
    EXPECT_EQ(Trace(link), "purge|W 1B 06|P 100|R 4F 4B|W 1B 16");
    EXPECT_EQ(VerdictText(ApplyOutcome::Success), StringId::SetSuccess);
    EXPECT_EQ(VerdictCaption(ApplyOutcome::Success), StringId::Success);
}

TEST_F(ApplySettingsTest, ReplyOutcomes) {
    struct Case {
        const char* name;
        std::deque<Bytes> replies;
        ApplyOutcome outcome;
        std::size_t reads;
    } cases[] = {
        {"wrong reply ends the wait at once", {{0x4E, 0x4F}}, ApplyOutcome::WrongReply, 1},
        {"silent printer: 49 reads", {}, ApplyOutcome::NoReply, 49},
        {"split reply is recognised", {{0x4F}, {}, {0x4B}}, ApplyOutcome::Success, 3},
        {"split wrong reply", {{0x4F}, {0x4F}}, ApplyOutcome::WrongReply, 2},
    };
    for (const Case& c : cases) {
        RecordingLink fresh;
        fresh.replies = c.replies;
        PrinterSettings settings;
        settings.codePage = 11;
        const ApplyOutcome outcome = ApplySettings(settings, fresh, false, fresh.Pauser());
        EXPECT_EQ(outcome, c.outcome) << c.name;
        EXPECT_EQ(fresh.Count(Kind::Read), c.reads) << c.name;
        EXPECT_EQ(fresh.Count(Kind::Pause), c.reads) << c.name;
        const std::vector<Bytes> expected =
            c.outcome == ApplyOutcome::Success
                ? std::vector<Bytes>{kEnter, {0x1B, 0x74, 0x0B}, kLeave}
                : std::vector<Bytes>{kEnter, kLeave};
        EXPECT_EQ(fresh.Writes(), expected) << c.name;
    }
    EXPECT_EQ(VerdictText(ApplyOutcome::NoReply), StringId::SetFailed);
    EXPECT_EQ(VerdictCaption(ApplyOutcome::WrongReply), StringId::Failure);
}

TEST_F(ApplySettingsTest, AbortsKeepWhatWasSent) {
    struct Case {
        const char* name;
        std::u16string btName;
        bool btNameChecked;
        std::u16string password;
        ApplyOutcome outcome;
        std::vector<Bytes> writes;
    } cases[] = {
        {"empty Bluetooth name, valid password after it",
         u"",
         true,
         u"1234",
         ApplyOutcome::EmptyBtName,
         {kEnter, {0x1B, 0x74, 0x0B}, {0x1B, 0x24}, {0x41, 0x42, 0x43}, {0x00}, kLeave}},
        {"three-digit password",
         u"",
         false,
         u"123",
         ApplyOutcome::BadBtPassword,
         {kEnter, {0x1B, 0x74, 0x0B}, {0x1B, 0x24}, {0x41, 0x42, 0x43}, {0x00}, kLeave}},
        {"five-digit password after a name",
         u"P1",
         true,
         u"12345",
         ApplyOutcome::BadBtPassword,
         {kEnter,
          {0x1B, 0x74, 0x0B},
          {0x1B, 0x24},
          {0x41, 0x42, 0x43},
          {0x00},
          {0x1B, 0x11},
          {0x50, 0x31},
          {0x00},
          kLeave}},
    };
    for (const Case& c : cases) {
        RecordingLink fresh;
        fresh.replies = {kOk};
        PrinterSettings s;
        s.codePage = 11;
        s.manufacturer = {true, u"ABC"};
        s.btName = {c.btNameChecked, c.btName};
        s.btPassword = {true, c.password};
        s.density = 3; // after the abort: never sent
        EXPECT_EQ(ApplySettings(s, fresh, false, fresh.Pauser()), c.outcome) << c.name;
        EXPECT_EQ(fresh.Writes(), c.writes) << c.name;
    }
}

// Entry, text and NUL as three writes; USB alone pauses 30 ms after each text and is not purged.
TEST_F(ApplySettingsTest, TextSettingsThreeWritesAndUsbPause) {
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
        RecordingLink fresh;
        fresh.replies = {kOk};
        EXPECT_EQ(ApplySettings(s, fresh, usb, fresh.Pauser()), ApplyOutcome::Success);
        EXPECT_EQ(Trace(fresh), trace);
    }
}

TEST_F(ApplySettingsTest, ChineseManufacturerUnderCodePage936) {
    link.replies = {kOk};
    PrinterSettings s;
    s.manufacturer = {true, u"打印"};
    EXPECT_EQ(Run(s), ApplyOutcome::Success);
    EXPECT_EQ(link.Writes(),
              (std::vector<Bytes>{kEnter, {0x1B, 0x24}, {0xB4, 0xF2, 0xD3, 0xA1}, {0x00}, kLeave}));
}

// Every setting at once: the fixed order, both offsets between mark detection and sensitivity.
TEST_F(ApplySettingsTest, EverySettingInOrder) {
    link.replies = {kOk};
    PrinterSettings s;
    s.codePage = 47;
    s.font = 1;
    s.language = 1;
    s.cutter = 1;
    s.serialFormat = SetupCommandTable::SerialFormat{7, 2, 0, 0};
    s.manufacturer = {true, u"M"};
    s.model = {true, u"D"};
    s.serialNumber = {true, u"S"};
    s.btName = {true, u"B"};
    s.btPassword = {true, u"1234"};
    s.markDetect = 1;
    s.markStart = {true, u"-100"};
    s.markTear = {true, u"300"};
    s.markSensitivity = 2;
    s.speed = 3;
    s.density = 0;
    s.crMode = 1;
    s.direction = 1;
    s.paperWidth = 2;
    s.usbMode = 1;
    s.buzzer = BuzzerChoice{true, false};
    EXPECT_EQ(Run(s), ApplyOutcome::Success);
    const std::vector<Bytes> expected = {
        kEnter,
        {0x1B, 0x74, 0x2F},
        {0x1B, 0x21, 0x01},
        {0x1B, 0x22, 0x01},
        {0x1B, 0x32, 0x10},
        {0x1B, 0x23, 0x07},
        {0x1B, 0x24},
        {0x4D},
        {0x00},
        {0x1B, 0x25},
        {0x44},
        {0x00},
        {0x1B, 0x26},
        {0x53},
        {0x00},
        {0x1B, 0x11},
        {0x42},
        {0x00},
        {0x1B, 0x10},
        {0x31, 0x32, 0x33, 0x34},
        {0x00},
        {0x1B, 0x2B, 0x01},
        {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x64, 0x00},
        {0x1D, 0x28, 0x46, 0x04, 0x00, 0x02, 0x00, 0x2C, 0x01},
        {0x1B, 0x28, 0x02},
        {0x1B, 0x2C, 0x03},
        {0x1B, 0xFD, 0x00},
        {0x1B, 0x2E, 0x01},
        {0x1B, 0x63, 0x01},
        {0x1B, 0x2D, 0x02},
        {0x1B, 0x30, 0x01},
        {0x1B, 0x29, 0x01},
        kLeave,
    };
    EXPECT_EQ(link.Writes(), expected);
}

TEST_F(ApplySettingsTest, FailedOrShortWriteEndsTheRun) {
    struct Case {
        const char* name;
        std::optional<std::size_t> shortAt;
        std::optional<std::size_t> failFrom;
        std::vector<Bytes> writes;
    } cases[] = {
        // The speed command goes out short: density is not sent, LeaveSetup still is.
        {"short write", 2, std::nullopt, {kEnter, {0x1B, 0x74, 0x0B}, {0x1B, 0x2C}, kLeave}},
        // Everything after EnterSetup fails, LeaveSetup included: still a failure.
        {"printer gone", std::nullopt, 1, {kEnter}},
        {"EnterSetup short", 0, std::nullopt, {{0x1B}, kLeave}},
    };
    for (const Case& c : cases) {
        RecordingLink fresh;
        fresh.replies = {kOk};
        fresh.shortWriteAt = c.shortAt;
        fresh.writesBeforeFailure = c.failFrom;
        PrinterSettings s;
        s.codePage = 11;
        s.density = 5;
        s.speed = 1;
        EXPECT_EQ(ApplySettings(s, fresh, false, fresh.Pauser()), ApplyOutcome::WriteFailed)
            << c.name;
        EXPECT_EQ(fresh.Writes(), c.writes) << c.name;
    }
}

TEST_F(ApplySettingsTest, OffsetsBeyondSixteenBitsAreRefusedBeforeSending) {
    struct Case {
        OffsetSetting start;
        OffsetSetting tear;
        bool refused;
    } cases[] = {
        {{true, u"70000"}, {}, true},
        {{}, {true, u"-65536"}, true},
        {{true, u"65535"}, {true, u"-65535"}, false},
        {{false, u"70000"}, {}, false}, // list at "不改变": the edit is not read
        {{true, u"abc"}, {}, false},
    };
    for (const Case& c : cases) {
        PrinterSettings s;
        s.markStart = c.start;
        s.markTear = c.tear;
        EXPECT_EQ(FindOffsetOutOfRange(s).has_value(), c.refused);
        RecordingLink fresh;
        fresh.replies = {kOk};
        const ApplyOutcome outcome = ApplySettings(s, fresh, false, fresh.Pauser());
        if (c.refused) {
            EXPECT_EQ(outcome, ApplyOutcome::OffsetOutOfRange);
            EXPECT_TRUE(fresh.events.empty());
        } else {
            EXPECT_EQ(outcome, ApplyOutcome::Success);
        }
    }
}

} // namespace
} // namespace tervan
