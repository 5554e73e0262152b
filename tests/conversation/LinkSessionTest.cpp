#include "protocol/LinkSession.h"
#include "sim/VirtualPrinter.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

using std::chrono::milliseconds;

// The kind of link a name chooses and where, in one line.
std::string Describe(const PortChoice& c) {
    if (c.tcp) {
        return "tcp " + c.tcp->host + " " + std::to_string(c.tcp->port);
    }
    return c.usb ? "usb " + c.usbLocation : "serial " + c.path;
}

// "Usb" used to be taken for a serial device path; "COM12" must reach the port above 9.
TEST(LinkSession, PortNames) {
    const std::pair<const char*, const char*> choices[] = {
        {"usb", "usb "},
        {"Usb", "usb "},
        {"usb:1-2.3", "usb 1-2.3"},
        {"/dev/ttyUSB0", "serial /dev/ttyUSB0"},
        {"usb0", "serial usb0"},
        {"tcp:192.168.1.20", "tcp 192.168.1.20 9100"},
        {"TCP:printer.shop:9101", "tcp printer.shop 9101"},
        {"tcp:[::1]:9100", "tcp ::1 9100"},
        {"tcp:[fe80::1%eth0]", "tcp fe80::1%eth0 9100"},
        {"tcp:2001:db8::7", "tcp 2001:db8::7 9100"},
    };
    for (const auto& [name, choice] : choices) {
        EXPECT_EQ(Describe(ChoosePort(name)), choice) << name;
        EXPECT_EQ(PortNameProblem(name), std::nullopt) << name;
    }
    for (const char* bad : {"tcp:", "tcp:host:", "tcp:host:0", "tcp:host:65536", "tcp:host:9x",
                            "tcp:[::1", "tcp:[::1]9100", "tcp:a b", "tcp:/dev/x", "usb:", "usb:1",
                            "usb:1-", "usb:x-2", "usb:1-2a"}) {
        EXPECT_NE(PortNameProblem(bad), std::nullopt) << bad;
    }
    const std::pair<const char*, std::optional<std::string>> com[] = {
        {"com12", "\\\\.\\COM12"}, {"COM255", "\\\\.\\COM255"},  {"COM0", std::nullopt},
        {"COM256", std::nullopt},  {"COM", std::nullopt},        {"COMX", std::nullopt},
        {"COM03", std::nullopt},   {"/dev/ttyS0", std::nullopt},
    };
    for (const auto& [name, path] : com) {
        EXPECT_EQ(ComDevicePath(name), path) << name;
    }
}

// Open, settle 500 ms, work, close; a stop during the settling sends nothing and still closes.
TEST(LinkSession, OpenSettleWorkClose) {
    struct Case {
        const char* name;
        bool missingPort;
        bool stopWhileSettling;
        SessionOutcome outcome;
        bool worked;
    } cases[] = {
        {"runs", false, false, SessionOutcome::Ran, true},
        {"stopped while settling", false, true, SessionOutcome::Stopped, false},
        {"port missing", true, false, SessionOutcome::NotOpened, false},
    };
    for (const Case& c : cases) {
        sim::VirtualPrinter printer;
        ASSERT_TRUE(printer.Start());
        PrinterLinks links;
        StopToken stop;
        std::vector<milliseconds> pauses;
        const PauseFn pause = [&](milliseconds d) {
            pauses.push_back(d);
            if (c.stopWhileSettling) {
                stop.RequestStop();
            }
        };
        bool worked = false;
        const PortChoice port =
            ChoosePort(c.missingPort ? "/dev/tervan-no-such-port" : printer.SlavePath());
        const SessionResult result =
            RunLinkSession(links, port, {}, pause, stop, [&](Link& link, bool isUsb) {
                worked = true;
                EXPECT_FALSE(isUsb);
                EXPECT_EQ(link.Write(Bytes{0x1C, 0x50, 0x03}), 3u);
            });
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(worked, c.worked) << c.name;
        EXPECT_FALSE(links.IsConnected()) << c.name;
        EXPECT_EQ(pauses, std::vector<milliseconds>(c.missingPort ? 0 : 1, milliseconds(500)))
            << c.name;
        printer.WaitForBytes(3, milliseconds(c.worked ? 2000 : 100));
        const Bytes expected = c.worked ? Bytes{0x1C, 0x50, 0x03} : Bytes{};
        EXPECT_EQ(printer.Received(), expected) << c.name;
    }
}

} // namespace
} // namespace tervan
