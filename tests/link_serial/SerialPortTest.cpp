#include "link/SerialPort.h"
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
using sim::VirtualPrinterOptions;
using Clock = std::chrono::steady_clock;

const Bytes kEnterSetup{0x1B, 0x06};
const Bytes kOk{0x4F, 0x4B};

VirtualPrinterOptions Replying(ReplyMode mode) {
    VirtualPrinterOptions options;
    options.reply = mode;
    return options;
}

class LinkSerialPty : public testing::Test {
protected:
    void StartPrinter(ReplyMode mode = ReplyMode::Ok) {
        m_printer = std::make_unique<VirtualPrinter>(Replying(mode));
        ASSERT_TRUE(m_printer->Start());
        ASSERT_FALSE(m_printer->SlavePath().empty());
    }

    void OpenConfigured(CSerialPort& port) {
        ASSERT_TRUE(port.Open(m_printer->SlavePath()));
        ASSERT_TRUE(port.IsOpen());
        ASSERT_EQ(port.Configure(9600, 'N', 8), ConfigureResult::Ok);
    }

    std::unique_ptr<VirtualPrinter> m_printer;
};

TEST_F(LinkSerialPty, SetupRequestGetsOk) {
    StartPrinter();
    CSerialPort port;
    OpenConfigured(port);

    port.Purge();
    EXPECT_EQ(port.Write(kEnterSetup), 2u);
    std::array<std::uint8_t, 2> reply{};
    ASSERT_EQ(port.Read(reply), 2u);
    EXPECT_EQ(Bytes(reply.begin(), reply.end()), kOk);

    // Closed (twice over), nothing more reaches the port.
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Write(kEnterSetup), 0u);
    EXPECT_EQ(port.Read(reply), 0u);
    EXPECT_FALSE(m_printer->WaitForBytes(3, std::chrono::milliseconds(50)));
    EXPECT_EQ(m_printer->Received(), kEnterSetup);
}

TEST_F(LinkSerialPty, PurgeDropsWhatWaitsUnread) {
    StartPrinter();
    CSerialPort port;
    OpenConfigured(port);

    ASSERT_EQ(port.Write(kEnterSetup), 2u);
    // The reply comes in one piece: once its first byte is here, the second is waiting too.
    std::array<std::uint8_t, 1> first{};
    ASSERT_EQ(port.Read(first), 1u);
    EXPECT_EQ(first[0], 0x4F);
    port.Purge();
    EXPECT_EQ(port.Read(first), 0u);
}

// Far more than the terminal's buffer holds: the write waits for room until all is out.
TEST_F(LinkSerialPty, LongWriteGoesOutWhole) {
    StartPrinter();
    CSerialPort port;
    OpenConfigured(port);

    const Bytes text(64 * 1024, 0x41);
    ASSERT_EQ(port.Write(text), text.size());
    ASSERT_TRUE(m_printer->WaitForBytes(text.size(), std::chrono::seconds(10)));
    EXPECT_EQ(m_printer->Received(), text);
}

// The one timing check: a 2-byte read from a peer that never answers gives up after its
// 210 ms budget, not at once and not much later.
TEST_F(LinkSerialPty, ReadFromSilentPeerGivesUpOnTime) {
    StartPrinter(ReplyMode::Silent);
    CSerialPort port;
    OpenConfigured(port);
    ASSERT_EQ(port.Write(kEnterSetup), 2u);

    std::array<std::uint8_t, 2> reply{};
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(reply), 0u);
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

TEST_F(LinkSerialPty, VanishedPeerEndsReadsAndWrites) {
    StartPrinter();
    CSerialPort port;
    OpenConfigured(port);
    m_printer->Stop();

    std::array<std::uint8_t, 2> reply{};
    EXPECT_EQ(port.Read(reply), 0u);
    EXPECT_LT(port.Write(kEnterSetup), 2u);
    port.Close();
}

} // namespace
} // namespace tervan
