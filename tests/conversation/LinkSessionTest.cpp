#include "protocol/LinkSession.h"
#include "sim/VirtualPrinter.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

using std::chrono::milliseconds;

// "Usb" used to be taken for a serial device path; "COM12" must reach the port above 9.
TEST(LinkSession, PortNames) {
    const std::pair<const char*, PortChoice> choices[] = {
        {"usb", {true, ""}},
        {"Usb", {true, ""}},
        {"/dev/ttyUSB0", {false, "/dev/ttyUSB0"}},
        {"usb0", {false, "usb0"}},
    };
    for (const auto& [name, choice] : choices) {
        const PortChoice got = ChoosePort(name);
        EXPECT_EQ(got.usb, choice.usb) << name;
        EXPECT_EQ(got.path, choice.path) << name;
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
        const PortChoice port{false,
                              c.missingPort ? "/dev/tervan-no-such-port" : printer.SlavePath()};
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
