#include "link/SerialPort.h"
#include "link/SerialTermiosPosix.h"

#include <gtest/gtest.h>

#include <termios.h>

#include <optional>

namespace tervan {
namespace {

// A port left in a state that is wrong for the printer in every way the link cares about.
termios DirtyPort(tcflag_t parityFlags) {
    termios t{};
    t.c_iflag = IXON | IXOFF | IXANY | ISTRIP | ICRNL | INLCR | IGNCR | BRKINT;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ECHO | ECHONL | ICANON | ISIG | IEXTEN;
    t.c_cflag = CS8 | CSTOPB | CRTSCTS | parityFlags;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 5;
    cfsetispeed(&t, B300);
    cfsetospeed(&t, B300);
    return t;
}

// Whatever state the port was left in: a raw line with the chosen parity and size; a parity
// letter the link does not know keeps the port's own.
TEST(LinkSerialLineSettings, GivesRawLineWithParityAndSize) {
    const struct {
        std::size_t baudIndex; // position in the form's baud-rate list
        speed_t speed;
        tcflag_t startParity;
        char parity;
        std::uint8_t byteSize;
        tcflag_t wantParity; // PARENB/PARODD afterwards
        tcflag_t wantSize;
    } cases[] = {
        {0, B1200, PARENB | PARODD, 'N', 8, 0, CS8},
        {1, B2400, PARENB | PARODD, 'N', 7, 0, CS7},
        {2, B4800, 0, 'O', 8, PARENB | PARODD, CS8},
        {5, B38400, PARENB | PARODD, 'E', 7, PARENB, CS7},
        {6, B57600, PARENB | PARODD, 'X', 7, PARENB | PARODD, CS7},
        {7, B115200, PARENB, 'n', 8, PARENB, CS8},
        {3, B9600, 0, '?', 8, 0, CS8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.parity);
        const std::optional<termios> t = BuildLineSettings(
            DirtyPort(c.startParity), BaudFromIndex(c.baudIndex), c.parity, c.byteSize);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(cfgetospeed(&*t), c.speed);
        EXPECT_EQ(cfgetispeed(&*t), c.speed);
        EXPECT_EQ(t->c_cflag & (PARENB | PARODD), c.wantParity);
        EXPECT_EQ(t->c_cflag & CSIZE, c.wantSize);
        // One stop bit, no hardware flow control, no XON/XOFF, 8-bit clean.
        EXPECT_EQ(t->c_cflag & (CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(t->c_iflag & (IXON | IXOFF | IXANY | ISTRIP | ICRNL | INLCR | IGNCR | BRKINT),
                  0u);
        EXPECT_EQ(t->c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
        EXPECT_EQ(t->c_oflag & OPOST, 0u) << "output untouched";
        EXPECT_EQ(t->c_lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN), 0u);
        EXPECT_EQ(t->c_cc[VMIN], 0);
        EXPECT_EQ(t->c_cc[VTIME], 0);
    }
}

// Settings the line cannot take are refused whole rather than applied in part.
TEST(LinkSerialBaud, UnsupportedRateOrSizeIsRefused) {
    EXPECT_FALSE(BuildLineSettings(DirtyPort(0), 0, 'N', 8).has_value());
    EXPECT_FALSE(BuildLineSettings(DirtyPort(0), 12345, 'N', 8).has_value());
    EXPECT_FALSE(BuildLineSettings(DirtyPort(0), 9600, 'N', 9).has_value());
    EXPECT_FALSE(BuildLineSettings(DirtyPort(0), 9600, 'N', 0).has_value());
}

} // namespace
} // namespace tervan
