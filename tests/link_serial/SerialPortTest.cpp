#include "link/SerialPort.h"
#include "base/Bytes.h"
#include "sim/VirtualPrinter.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <vector>

namespace tervan {
namespace {

using sim::ReplyMode;
using sim::VirtualPrinter;
using Clock = std::chrono::steady_clock;

const Bytes kEnterSetup{0x1B, 0x06};
const Bytes kOk{0x4F, 0x4B};

// A virtual printer and a port opened on it at 9600 8N1.
struct Pty {
    explicit Pty(ReplyMode mode = ReplyMode::Ok) : printer({.reply = mode}) {
        ready = printer.Start() && port.Open(printer.SlavePath()) && port.IsOpen() &&
                port.Configure(9600, 'N', 8) == ConfigureResult::Ok;
    }
    VirtualPrinter printer;
    CSerialPort port;
    bool ready = false;
};

TEST(LinkSerialPty, PurgeDropsWhatWaitsUnreadAndClosedPortSendsNothing) {
    Pty pty;
    ASSERT_TRUE(pty.ready);
    ASSERT_EQ(pty.port.Write(kEnterSetup), 2u);
    // The reply comes in one piece: once its first byte is here, the second is waiting too.
    std::array<std::uint8_t, 1> first{};
    ASSERT_EQ(pty.port.Read(first), 1u);
    EXPECT_EQ(first[0], 0x4F);
    pty.port.Purge();
    EXPECT_EQ(pty.port.Read(first), 0u);

    EXPECT_EQ(pty.port.Write(kEnterSetup), 2u);
    std::array<std::uint8_t, 2> reply{};
    ASSERT_EQ(pty.port.Read(reply), 2u);
    EXPECT_EQ(Bytes(reply.begin(), reply.end()), kOk);

    // Closed (twice over), nothing more reaches the port.
    pty.port.Close();
    pty.port.Close();
    EXPECT_FALSE(pty.port.IsOpen());
    EXPECT_EQ(pty.port.Write(kEnterSetup), 0u);
    EXPECT_EQ(pty.port.Read(reply), 0u);
    EXPECT_FALSE(pty.printer.WaitForBytes(5, std::chrono::milliseconds(50)));
    EXPECT_EQ(pty.printer.Received(), (Bytes{0x1B, 0x06, 0x1B, 0x06}));
}

// Far more than the terminal's buffer holds: the write waits for room until all is out.
TEST(LinkSerialPty, LongWriteGoesOutWhole) {
    Pty pty;
    ASSERT_TRUE(pty.ready);
    const Bytes text(64 * 1024, 0x41);
    ASSERT_EQ(pty.port.Write(text), text.size());
    ASSERT_TRUE(pty.printer.WaitForBytes(text.size(), std::chrono::seconds(10)));
    EXPECT_EQ(pty.printer.Received(), text);
}

// The one timing check: a 2-byte read from a peer that never answers gives up after its
// 210 ms budget, not at once and not much later.
TEST(LinkSerialPty, ReadFromSilentPeerGivesUpOnTime) {
    Pty pty(ReplyMode::Silent);
    ASSERT_TRUE(pty.ready);
    ASSERT_EQ(pty.port.Write(kEnterSetup), 2u);
    std::array<std::uint8_t, 2> reply{};
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(pty.port.Read(reply), 0u);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(200));
    EXPECT_LE(elapsed, std::chrono::milliseconds(400));
}

// A printer that stops taking bytes: the write ends once nothing went out for the stall limit,
// however long the per-byte budget would still run (17 hours for this row).
TEST(LinkSerialStall, GivesUpAfterTheStallLimit) {
    using std::chrono::milliseconds;
    const struct {
        std::size_t count;
        milliseconds lastProgress;
        milliseconds givesUpAfter;
    } cases[] = {
        {2, milliseconds(0), milliseconds(3000)},          // the budget is shorter
        {62500, milliseconds(0), milliseconds(10000)},     // nothing taken for 10 s
        {62500, milliseconds(50000), milliseconds(60000)}, // counted from the last progress
        {5, milliseconds(4000), milliseconds(6000)},       // the budget again
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteGivesUpAfter(c.count, c.lastProgress, SerialTimeouts{}), c.givesUpAfter)
            << c.count << " bytes";
    }
}

// A line nobody reads: the write gives up after a short stall limit, or, with the full limit,
// soon after a stop is asked for.
TEST(LinkSerialStall, PeerThatNeverReads) {
    for (const bool stopped : {false, true}) {
        const UniqueFd master{::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)};
        ASSERT_FALSE(master.IsNull());
        ASSERT_EQ(::grantpt(master.Get()), 0);
        ASSERT_EQ(::unlockpt(master.Get()), 0);
        CSerialPort port;
        ASSERT_TRUE(port.Open(::ptsname(master.Get())));
        ASSERT_EQ(port.Configure(9600, 'N', 8), ConfigureResult::Ok);
        if (stopped) {
            port.SetStopCheck([] { return true; });
        } else {
            port.SetWriteStallLimit(std::chrono::milliseconds(200));
        }
        const Clock::time_point start = Clock::now();
        const Bytes row(62500, 0xFF);
        EXPECT_LT(port.Write(row), row.size());
        port.Write(Bytes{0x1B, 0x16}); // bounded the same way, whether or not room came back
        EXPECT_LT(Clock::now() - start, std::chrono::seconds(5)) << stopped;
    }
}

TEST(LinkSerialPty, VanishedPeerEndsReadsAndWrites) {
    Pty pty;
    ASSERT_TRUE(pty.ready);
    pty.printer.Stop();
    std::array<std::uint8_t, 2> reply{};
    EXPECT_EQ(pty.port.Read(reply), 0u);
    EXPECT_LT(pty.port.Write(kEnterSetup), 2u);
}

} // namespace
} // namespace tervan
