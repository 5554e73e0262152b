#include "bitmap/BitmapTransfer.h"
#include "protocol/ApplySettings.h"
#include "protocol/LinkMessages.h"
#include "protocol/LinkSession.h"
#include "sim/VirtualPrinter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

// The network link against the virtual printer on a TCP port, and against ports that refuse,
// never answer, or close in the middle of a download. Expected bytes are the documented commands.
namespace tervan {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const AnsiCodePage kCodePage{"CP1252"};

PauseFn NoPause() {
    return [](std::chrono::milliseconds) {};
}

// A network printer on a port the system picks.
std::unique_ptr<sim::VirtualPrinter> StartedPrinter(sim::VirtualPrinterOptions options = {}) {
    options.tcpPort = 0;
    auto printer = std::make_unique<sim::VirtualPrinter>(std::move(options));
    EXPECT_TRUE(printer->Start());
    return printer;
}

OpenResult Open(PrinterLinks& links, const std::string& name) {
    SelectPort(links, ChoosePort(name));
    return links.Open("", {});
}

// A listening socket on 127.0.0.1 at a port the system picks; with `backlog` 0 and two
// connections that fill its queue, a further connection is never answered.
struct LocalPort {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    std::vector<int> fillers;
    std::uint16_t port = 0;

    explicit LocalPort(bool listening) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        EXPECT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length), 0);
        port = ntohs(a.sin_port);
        if (!listening) {
            ::close(fd); // nothing listens there now: a connection is refused
            fd = -1;
            return;
        }
        EXPECT_EQ(::listen(fd, 0), 0);
        for (int i = 0; i < 2; ++i) {
            fillers.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            ::connect(fillers.back(), reinterpret_cast<sockaddr*>(&a), sizeof a);
        }
        std::this_thread::sleep_for(100ms);
    }
    ~LocalPort() {
        for (int f : fillers) {
            ::close(f);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    std::string Name() const { return "tcp:127.0.0.1:" + std::to_string(port); }
};

// The setup conversation over IPv4, IPv6 and a host name, exactly as on the serial link.
TEST(TcpLink, Conversation) {
    const auto started = StartedPrinter();
    sim::VirtualPrinter& printer = *started;
    const std::string port = printer.SlavePath().substr(std::string("tcp:127.0.0.1:").size());
    Bytes expected;
    for (const std::string host : {"127.0.0.1", "[::1]", "localhost"}) {
        PrinterLinks links;
        const OpenResult open = Open(links, "tcp:" + host + ":" + port);
        if (host == "[::1]" && open.outcome != OpenOutcome::Opened) {
            continue; // no IPv6 on this machine
        }
        ASSERT_EQ(open.outcome, OpenOutcome::Opened) << host;
        PrinterSettings settings;
        settings.density = 3;
        EXPECT_EQ(ApplySettings(settings, kCodePage, links.ActivePort(), false, NoPause()),
                  ApplyOutcome::Success)
            << host;
        links.Close();
        expected.insert(expected.end(), {0x1B, 0x06, 0x1B, 0xFD, 0x03, 0x1B, 0x16});
        printer.WaitForBytes(expected.size(), 2s);
        EXPECT_EQ(printer.Received(), expected) << host;
    }
}

// Refused at once; an address that never answers fails at the connect limit; a stop ends the
// wait early. Each names the port and the reason.
TEST(TcpLink, OpenFailures) {
    struct Case {
        const char* name;
        bool listening;
        bool stop;
        OpenCause cause;
        std::chrono::milliseconds atLeast;
        std::chrono::milliseconds within;
        const char* reason;
    } cases[] = {
        {"refused", false, false, OpenCause::Refused, 0ms, 1000ms, "Connection refused"},
        {"no answer", true, false, OpenCause::TimedOut, 2900ms, 4000ms, "no connection within 3 s"},
        {"stopped", true, true, OpenCause::Stopped, 200ms, 1000ms, "stopped"},
    };
    for (const Case& c : cases) {
        const LocalPort local(c.listening);
        PrinterLinks links;
        const Clock::time_point start = Clock::now();
        links.SetStopCheck([&] { return c.stop && Clock::now() - start > 200ms; });
        const OpenResult open = Open(links, local.Name());
        const auto took = Clock::now() - start;
        EXPECT_EQ(open.outcome, OpenOutcome::TcpOpenFailed) << c.name;
        EXPECT_EQ(open.cause, c.cause) << c.name;
        EXPECT_GE(took, c.atLeast) << c.name;
        EXPECT_LT(took, c.within) << c.name;
        EXPECT_FALSE(links.IsConnected()) << c.name;
        const auto messages = OpenFailureMessages(open, local.Name(), Language::English);
        ASSERT_EQ(messages.size(), 1u) << c.name;
        EXPECT_EQ(messages[0].text,
                  "Port open failed, please check\n" + local.Name() + ": " + c.reason)
            << c.name;
    }
}

// The printer goes away while the link waits for it to take the rows: the download fails at once
// rather than after the stall limit (the system goes on counting the undelivered bytes of a reset
// connection), and the link says the printer is gone.
TEST(TcpLink, PeerClosesMidDownload) {
    sim::VirtualPrinterOptions options;
    options.bytesPerSecond = 500; // the rows wait in the connection
    const auto started = StartedPrinter(options);
    sim::VirtualPrinter& printer = *started;
    PrinterLinks links;
    ASSERT_EQ(Open(links, printer.SlavePath()).outcome, OpenOutcome::Opened);
    const LoadResult logo =
        LoadBitmapFile(std::string(std::getenv("TERVAN_TEST_DATA")) + "/tervan-logo.bmp");
    bool vanished = false;
    const PauseFn vanish = [&](std::chrono::milliseconds d) {
        if (!vanished && d < 500ms) { // the first look at what the printer has taken
            vanished = true;
            printer.Stop();
        }
        std::this_thread::sleep_for(d);
    };
    const Clock::time_point start = Clock::now();
    const DownloadResult result = DownloadBitmap(links.ActivePort(), 2, logo, vanish);
    EXPECT_TRUE(vanished);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(result.outcome, DownloadOutcome::DeviceGone);
    EXPECT_TRUE(links.ActivePort().DeviceGone());
    EXPECT_EQ(links.ActivePort().Write(Bytes{0x1B, 0x16}), 0u);
    links.Close();
}

} // namespace
} // namespace tervan
