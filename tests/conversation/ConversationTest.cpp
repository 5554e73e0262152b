#include "link/SerialPort.h"
#include "protocol/ApplySettings.h"
#include "sim/VirtualPrinter.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

#include <cstdlib>

// The whole conversation over a real pseudo-terminal: the serial binding, the reply wait and the
// virtual printer together, with pauses recorded instead of slept.
namespace tervan {
namespace {

using sim::ReplyMode;
using sim::VirtualPrinter;
using std::chrono::milliseconds;

struct Peer {
    explicit Peer(ReplyMode mode, milliseconds delay = {})
        : printer({.reply = mode, .delay = delay}) {
        started = printer.Start() && port.Open(printer.SlavePath()) &&
                  port.Configure(9600, 'N', 8) == ConfigureResult::Ok;
    }
    Bytes ReceivedAtLeast(std::size_t count) {
        printer.WaitForBytes(count, milliseconds(2000));
        return printer.Received();
    }
    VirtualPrinter printer;
    CSerialPort port;
    bool started = false;
};

class ConversationTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("TERVAN_ANSI_CODEPAGE", "936", 1); }
    void TearDown() override { unsetenv("TERVAN_ANSI_CODEPAGE"); }
};

TEST_F(ConversationTest, RepliesOverAPseudoTerminal) {
    struct Case {
        ReplyMode mode;
        ApplyOutcome outcome;
        Bytes received;
        milliseconds delay{};
    } cases[] = {
        {ReplyMode::Ok,
         ApplyOutcome::Success,
         {0x1B, 0x06, 0x1B, 0x74, 0x2F, 0x1B, 0x24, 0xB4, 0xF2, 0xD3, 0xA1, 0x00, 0x1B, 0x16}},
        {ReplyMode::Wrong, ApplyOutcome::WrongReply, {0x1B, 0x06, 0x1B, 0x16}},
        {ReplyMode::Split,
         ApplyOutcome::Success,
         {0x1B, 0x06, 0x1B, 0x74, 0x2F, 0x1B, 0x24, 0xB4, 0xF2, 0xD3, 0xA1, 0x00, 0x1B, 0x16}},
    };
    for (const Case& c : cases) {
        Peer peer(c.mode, c.delay);
        ASSERT_TRUE(peer.started);
        PrinterSettings settings;
        settings.codePage = 47;
        settings.manufacturer = {true, u"打印"};
        test::RecordingLink pauses;
        EXPECT_EQ(ApplySettings(settings, peer.port, false, pauses.Pauser()), c.outcome);
        EXPECT_EQ(peer.ReceivedAtLeast(c.received.size()), c.received);
        if (c.mode == ReplyMode::Wrong) {
            EXPECT_EQ(pauses.Count(test::RecordingLink::Event::Kind::Pause), 1u);
        } else {
            EXPECT_EQ(peer.printer.Decoded(),
                      (std::vector<std::string>{"EnterSetup", "SetCodePage n=47",
                                                "SetManufacturer \"\\xB4\\xF2\\xD3\\xA1\"",
                                                "LeaveSetup"}));
        }
    }
}

// The printer disappears after the first setting: nothing hangs, the verdict is failure.
TEST_F(ConversationTest, PrinterVanishesInTheMiddle) {
    Peer peer(ReplyMode::Ok);
    ASSERT_TRUE(peer.started);
    PrinterSettings settings;
    settings.codePage = 11;
    settings.manufacturer = {true, u"ABC"};
    settings.density = 3;
    const auto start = std::chrono::steady_clock::now();
    int writes = 0;
    // Vanish once the code page went out: wrap the port so the third write finds no printer.
    class VanishAfter : public Link {
    public:
        VanishAfter(Link& inner, VirtualPrinter& printer, int& writes)
            : m_inner(inner), m_printer(printer), m_writes(writes) {}
        std::size_t Write(std::span<const std::uint8_t> bytes) override {
            if (++m_writes == 3) {
                m_printer.Stop();
            }
            return m_inner.Write(bytes);
        }
        std::size_t Read(std::span<std::uint8_t> b) override { return m_inner.Read(b); }
        void Purge() override { m_inner.Purge(); }
        void Close() override { m_inner.Close(); }
        bool IsOpen() const override { return m_inner.IsOpen(); }

    private:
        Link& m_inner;
        VirtualPrinter& m_printer;
        int& m_writes;
    } link(peer.port, peer.printer, writes);
    EXPECT_EQ(ApplySettings(settings, link, false, [](milliseconds) {}), ApplyOutcome::WriteFailed);
    // EnterSetup, code page, the failed manufacturer entry, then only LeaveSetup was tried.
    EXPECT_EQ(writes, 4);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

} // namespace
} // namespace tervan
