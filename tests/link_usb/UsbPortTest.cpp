#include "link/UsbPort.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

namespace tervan {
namespace {

// A closed link refuses every transfer and closes harmlessly, however often.
void ExpectClosed(CUSBPort& port) {
    EXPECT_FALSE(port.IsOpen());
    const std::array<std::uint8_t, 2> request{0x1B, 0x06};
    EXPECT_EQ(port.Write(request), 0u);
    std::array<std::uint8_t, 2> reply{};
    EXPECT_EQ(port.Read(reply), 0u);
    port.Purge();
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

// libusb keeps its contexts on a list of its own, so a context left behind is still reachable and
// the leak checker stays silent. It also runs a hot-plug thread while any context lives, so a
// context left behind shows as a thread that stays. Systems without /proc count nothing.
std::size_t ThreadCount() {
    std::error_code error;
    std::size_t n = 0;
    for (std::filesystem::directory_iterator task("/proc/self/task", error), end;
         !error && task != end; task.increment(error)) {
        ++n;
    }
    return n;
}

TEST(UsbPort, ClosedBeforeOpen) {
    CUSBPort port;
    ExpectClosed(port);
}

TEST(UsbPort, OpenWithoutPrinterFailsAndStaysClosed) {
    if (LocateUsbPrinter()) {
        GTEST_SKIP() << "a printer is attached to this machine";
    }
    const std::size_t threadsBefore = ThreadCount();
    CUSBPort port;
    // Twice: each attempt sets up and tears down its own libusb session.
    for (int attempt = 0; attempt < 2; ++attempt) {
        SCOPED_TRACE(attempt);
        EXPECT_FALSE(port.Open());
        ExpectClosed(port);
        EXPECT_EQ(ThreadCount(), threadsBefore) << "a libusb context outlived Open";
    }
}

} // namespace
} // namespace tervan
