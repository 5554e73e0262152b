#include "link/SerialTermiosPosix.h"

#include <utility>

namespace tervan {

std::optional<speed_t> SpeedFromBaud(std::uint32_t baudRate) {
    static constexpr std::pair<std::uint32_t, speed_t> kSpeeds[] = {
        {300, B300},       {600, B600},     {1200, B1200},     {1800, B1800},
        {2400, B2400},     {4800, B4800},   {9600, B9600},     {19200, B19200},
        {38400, B38400},   {57600, B57600}, {115200, B115200},
#ifdef B230400
        {230400, B230400},
#endif
#ifdef B460800
        {460800, B460800},
#endif
    };
    for (const auto& [baud, speed] : kSpeeds) {
        if (baud == baudRate) {
            return speed;
        }
    }
    return std::nullopt;
}

namespace {

std::optional<tcflag_t> CharacterSize(std::uint8_t byteSize) {
    switch (byteSize) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    case 8:
        return CS8;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<termios> BuildLineSettings(const termios& current, std::uint32_t baudRate,
                                         char parity, std::uint8_t byteSize) {
    const std::optional<speed_t> speed = SpeedFromBaud(baudRate);
    const std::optional<tcflag_t> size = CharacterSize(byteSize);
    if (!speed || !size) {
        return std::nullopt;
    }

    termios t = current;

    // Raw, 8-bit clean: no translation, stripping, echo, line editing or signals. Unlike
    // cfmakeraw, parity and size are left alone here and set below, because an unknown parity
    // letter must keep the port's parity.
    t.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL);
    t.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);

    // No flow control of any kind: the printer's handshake setting is not the link's.
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
#ifdef CRTSCTS
    t.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif

    t.c_cflag |= CREAD | CLOCAL;
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB);
    t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | *size;

    switch (parity) {
    case 'N':
        t.c_cflag &= ~static_cast<tcflag_t>(PARENB | PARODD);
        break;
    case 'O':
        t.c_cflag |= PARENB | PARODD;
        break;
    case 'E':
        t.c_cflag = (t.c_cflag | PARENB) & ~static_cast<tcflag_t>(PARODD);
        break;
    default:
        break;
    }

    cfsetispeed(&t, *speed);
    cfsetospeed(&t, *speed);

    // Reads are driven by poll, so a read call itself never waits.
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return t;
}

} // namespace tervan
