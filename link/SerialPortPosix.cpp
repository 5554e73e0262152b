#include "link/FdIoPosix.h"
#include "link/SerialPort.h"
#include "link/SerialTermiosPosix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>

namespace tervan {

namespace {

OpenCause CauseOfOpenError(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        return OpenCause::NotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return OpenCause::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK:
        return OpenCause::Busy;
    default:
        return OpenCause::Other;
    }
}

} // namespace

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(const std::string& path) {
    Close();
    Fail(OpenCause::None, 0);
    if (path.empty() || path.find('\0') != std::string::npos) {
        Fail(OpenCause::NotFound, ENOENT);
        return false;
    }
    // Non-blocking: a port whose carrier is down must not hang the open; reads and writes wait
    // with poll instead.
    UniqueFd fd{::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    if (fd.IsNull()) {
        const int error = errno;
        Fail(CauseOfOpenError(error), error);
        return false;
    }
    // The port is exclusive, as on Windows. The lock is what turns a second opener away even
    // for root, whom TIOCEXCL lets through; TIOCEXCL still keeps out programs that take no lock.
    // TIOCEXCL fails on what is not a terminal; Configure reports that.
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        Fail(CauseOfOpenError(error), error);
        return false;
    }
    static_cast<void>(::ioctl(fd.Get(), TIOCEXCL));
    m_hDevice = std::move(fd);
    m_timeouts = SerialTimeouts{};
    return true;
}

ConfigureResult CSerialPort::Configure(std::uint32_t baudRate, char parity, std::uint8_t byteSize) {
    if (m_hDevice.IsNull()) {
        Fail(OpenCause::StateUnreadable, EBADF);
        return ConfigureResult::StateUnreadable;
    }
    const int fd = m_hDevice.Get();
    termios current{};
    if (::tcgetattr(fd, &current) != 0) {
        Fail(OpenCause::StateUnreadable, errno);
        return ConfigureResult::StateUnreadable;
    }

    m_timeouts = SerialTimeouts{};

    const std::optional<termios> wanted = BuildLineSettings(current, baudRate, parity, byteSize);
    if (!wanted) {
        Fail(OpenCause::SettingsRefused, EINVAL);
        return ConfigureResult::SettingsRefused;
    }
    if (::tcsetattr(fd, TCSANOW, &*wanted) != 0) {
        Fail(OpenCause::SettingsRefused, errno);
        return ConfigureResult::SettingsRefused;
    }
    // tcsetattr succeeds when any part of the change took, so make sure the speed did.
    termios applied{};
    if (::tcgetattr(fd, &applied) != 0 || cfgetospeed(&applied) != cfgetospeed(&*wanted)) {
        Fail(OpenCause::SettingsRefused, EINVAL);
        return ConfigureResult::SettingsRefused;
    }

    // DTR and RTS stay low. Pseudo-terminals have no modem lines, hence no check.
    int lines = TIOCM_DTR | TIOCM_RTS;
    static_cast<void>(::ioctl(fd, TIOCMBIC, &lines));
    return ConfigureResult::Ok;
}

std::size_t CSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (m_hDevice.IsNull() || bytes.empty()) {
        return 0;
    }
    return BoundedWrite(FdIo(m_hDevice.Get(), false), bytes, m_timeouts, m_stopRequested).bytes;
}

std::size_t CSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (m_hDevice.IsNull() || buffer.empty()) {
        return 0;
    }
    return BoundedRead(FdIo(m_hDevice.Get(), false), buffer, m_timeouts).bytes;
}

std::size_t CSerialPort::QueuedBytes() const {
    int queued = 0;
    if (m_hDevice.IsNull() || ::ioctl(m_hDevice.Get(), TIOCOUTQ, &queued) != 0 || queued < 0) {
        return 0;
    }
    return static_cast<std::size_t>(queued);
}

void CSerialPort::Purge() {
    if (!m_hDevice.IsNull()) {
        static_cast<void>(::tcflush(m_hDevice.Get(), TCIOFLUSH));
    }
}

void CSerialPort::Close() {
    if (!m_hDevice.IsNull()) {
        // A pseudo-terminal outlives our descriptor, and so would its exclusive flag.
        static_cast<void>(::ioctl(m_hDevice.Get(), TIOCNXCL));
        static_cast<void>(::flock(m_hDevice.Get(), LOCK_UN));
        m_hDevice.Reset();
    }
}

bool CSerialPort::IsOpen() const {
    return !m_hDevice.IsNull();
}

} // namespace tervan
