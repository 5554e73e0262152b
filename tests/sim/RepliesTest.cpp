#include "PeerPort.h"
#include "sim/VirtualPrinter.h"

#include <gtest/gtest.h>

namespace tervan::sim::test {
namespace {

const Bytes kEnterSetup{0x1B, 0x06};
const Bytes kOk{0x4F, 0x4B};

struct ReplyCase {
    const char* name;
    ReplyMode mode;
    milliseconds delay;
    Bytes answer;          // all that arrives
    std::size_t reads;     // in this many reads
    milliseconds earliest; // first byte no sooner
    milliseconds latest;   // and no later
    milliseconds gap;      // at least this between the first and the last read
    milliseconds listen;
};

void PrintTo(const ReplyCase& c, std::ostream* os) {
    *os << c.name;
}

class SimReplies : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(SimReplies, AnswerTheSetupRequestAsAsked) {
    const ReplyCase& c = GetParam();
    VirtualPrinter printer({.reply = c.mode, .delay = c.delay});
    ASSERT_TRUE(printer.Start());
    PeerPort peer(printer.SlavePath());
    ASSERT_TRUE(peer.IsOpen());

    const Clock::time_point sent = Clock::now();
    ASSERT_TRUE(peer.Write(kEnterSetup));
    const auto chunks = peer.ReadFor(c.listen, c.answer.size(), sent);

    EXPECT_EQ(PeerPort::Joined(chunks), c.answer);
    ASSERT_EQ(chunks.size(), c.reads);
    if (!chunks.empty()) {
        EXPECT_GE(chunks.front().at, c.earliest);
        EXPECT_LE(chunks.front().at, c.latest);
        EXPECT_GE(chunks.back().at - chunks.front().at, c.gap);
    }
    EXPECT_EQ(printer.Decoded(), std::vector<std::string>{"EnterSetup"});
}

using ms = milliseconds;
// name, mode, delay, answer, reads, earliest, latest, gap, listen
const ReplyCase kReplies[] = {
    {"Ok", ReplyMode::Ok, ms{0}, {0x4F, 0x4B}, 1, ms{0}, ms{100}, ms{0}, ms{1000}},
    {"Wrong", ReplyMode::Wrong, ms{0}, {0x4E, 0x4F}, 1, ms{0}, ms{100}, ms{0}, ms{1000}},
    {"Silent", ReplyMode::Silent, ms{0}, {}, 0, ms{0}, ms{0}, ms{0}, ms{300}},
    {"Split", ReplyMode::Split, ms{0}, {0x4F, 0x4B}, 2, ms{0}, ms{100}, ms{80}, ms{1000}},
    {"Late", ReplyMode::Late, ms{250}, {0x4F, 0x4B}, 1, ms{240}, ms{1000}, ms{0}, ms{1500}},
};

INSTANTIATE_TEST_SUITE_P(Modes, SimReplies, ::testing::ValuesIn(kReplies),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SimPrinter, RecordsEveryByteUntranslatedAcrossReopenings) {
    VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    Bytes written;
    for (int round = 0; round < 3; ++round) {
        PeerPort peer(printer.SlavePath());
        ASSERT_TRUE(peer.IsOpen()) << "round " << round;
        EXPECT_TRUE(peer.Locked()) << "the printer must leave the lock to its peer";

        ASSERT_TRUE(peer.Write(kEnterSetup));
        written.insert(written.end(), kEnterSetup.begin(), kEnterSetup.end());
        EXPECT_EQ(PeerPort::Joined(peer.ReadFor(milliseconds{1000}, 2, Clock::now())), kOk);

        // Every byte value, line-discipline specials (CR, LF, ^C, ^D, XON, XOFF, DEL) included.
        Bytes all(256);
        for (std::size_t i = 0; i < all.size(); ++i) {
            all[i] = static_cast<std::uint8_t>(i);
        }
        ASSERT_TRUE(peer.Write(all));
        written.insert(written.end(), all.begin(), all.end());
        ASSERT_TRUE(printer.WaitForBytes(written.size(), milliseconds{2000}));
    }
    EXPECT_EQ(printer.Received(), written);
}

TEST(SimPrinter, VanishingHangsUpThePeerPromptly) {
    VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    const std::string path = printer.SlavePath();
    PeerPort peer(path);
    ASSERT_TRUE(peer.IsOpen());
    ASSERT_TRUE(peer.Write(kEnterSetup));
    ASSERT_EQ(PeerPort::Joined(peer.ReadFor(milliseconds{1000}, 2, Clock::now())), kOk);

    const Clock::time_point gone = Clock::now();
    printer.Stop();
    pollfd fd{peer.Fd(), POLLIN, 0};
    ::poll(&fd, 1, 2000);
    std::array<std::uint8_t, 8> buffer{};
    EXPECT_LE(::read(peer.Fd(), buffer.data(), buffer.size()), 0);
    EXPECT_LT(Clock::now() - gone, milliseconds{500});

    EXPECT_LE(::write(peer.Fd(), kEnterSetup.data(), kEnterSetup.size()), 0);
    EXPECT_FALSE(PeerPort(path).IsOpen()) << "the line is gone for new peers too";
}

} // namespace
} // namespace tervan::sim::test
