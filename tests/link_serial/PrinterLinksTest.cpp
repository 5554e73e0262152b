#include "link/PrinterLinks.h"
#include "sim/VirtualPrinter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tervan {
namespace {

// Every way an open can end: each failure leaves nothing connected and the serial port closed,
// with the cause a front end names; a toggle closes what it opened.
TEST(PrinterLinks, OpenOutcomesAndToggle) {
    sim::VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    test::TempDir dir;
    const auto regular = dir.Write("not-a-port", Bytes{0x41});
    struct Case {
        const char* name;
        bool usb;
        std::string path;
        std::uint32_t baud;
        OpenOutcome outcome;
        OpenCause cause;
    } cases[] = {
        {"missing port", false, "/dev/tervan-no-such-port", 9600, OpenOutcome::SerialOpenFailed,
         OpenCause::NotFound},
        {"device without line state", false, "/dev/null", 9600, OpenOutcome::StateUnreadable,
         OpenCause::StateUnreadable},
        {"regular file", false, regular.string(), 9600, OpenOutcome::StateUnreadable,
         OpenCause::StateUnreadable},
        {"speed refused", false, printer.SlavePath(), 12345, OpenOutcome::SettingsRefused,
         OpenCause::SettingsRefused},
        {"no USB printer", true, "", 9600, OpenOutcome::UsbOpenFailed, OpenCause::NotFound},
        {"opens", false, printer.SlavePath(), 9600, OpenOutcome::Opened, OpenCause::None},
    };
    const bool usbPrinterPresent = LocateUsbPrinter().has_value();
    for (const Case& c : cases) {
        if (c.usb && usbPrinterPresent) {
            continue;
        }
        PrinterLinks links;
        links.SelectUsb(c.usb);
        const OpenResult result = links.Toggle(c.path, {c.baud, 'N', 8});
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.cause, c.cause) << c.name;
        const bool opened = c.outcome == OpenOutcome::Opened;
        EXPECT_EQ(links.IsConnected(), opened) << c.name;
        EXPECT_EQ(links.ActivePort().IsOpen(), opened) << c.name;
        if (opened) {
            EXPECT_EQ(links.Toggle(c.path, {}).outcome, OpenOutcome::Closed);
            EXPECT_FALSE(links.IsConnected());
            EXPECT_FALSE(links.ActivePort().IsOpen());
        }
    }
}

// A second program on the same port: busy, with the system's reason kept; free again once the
// first lets go.
TEST(PrinterLinks, BusyPortKeepsItsCause) {
    sim::VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    PrinterLinks first;
    ASSERT_EQ(first.Open(printer.SlavePath(), {}).outcome, OpenOutcome::Opened);
    PrinterLinks second;
    const OpenResult result = second.Open(printer.SlavePath(), {});
    EXPECT_EQ(result.outcome, OpenOutcome::SerialOpenFailed);
    EXPECT_EQ(result.cause, OpenCause::Busy);
    EXPECT_NE(result.systemError, 0);
    EXPECT_FALSE(second.IsConnected());
    first.Close();
    EXPECT_EQ(second.Open(printer.SlavePath(), {}).outcome, OpenOutcome::Opened);
}

// A port the user may not open comes with who may: the remedy depends on it.
TEST(PrinterLinks, RefusedPortNamesItsOwnerGroupAndMode) {
    test::TempDir dir;
    const auto port = dir.Write("ttyLocked", Bytes{});
    ASSERT_EQ(::chmod(port.c_str(), 0600), 0);
    const passwd* owner = ::getpwuid(::geteuid());
    ASSERT_NE(owner, nullptr);
    const std::string ownerName = owner->pw_name;
    // Permissions do not stop root: try as nobody for the moment, or with the mode taken away.
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(root ? ::seteuid(65534) : ::chmod(port.c_str(), 0), 0);
    PrinterLinks links;
    const OpenResult result = links.Open(port.string(), {});
    ASSERT_EQ(root ? ::seteuid(0) : ::chmod(port.c_str(), 0600), 0);
    EXPECT_EQ(result.outcome, OpenOutcome::SerialOpenFailed);
    EXPECT_EQ(result.cause, OpenCause::PermissionDenied);
    EXPECT_EQ(result.access.owner, ownerName);
    EXPECT_EQ(result.access.mode, root ? 0600u : 0u);
    EXPECT_FALSE(result.access.group.empty());
}

} // namespace
} // namespace tervan
