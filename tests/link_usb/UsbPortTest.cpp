#include "link/UsbPort.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tervan {
namespace {

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
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(ThreadCount(), threadsBefore) << "a libusb context outlived Open";
    }
}

} // namespace
} // namespace tervan
