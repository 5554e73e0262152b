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

using Clock = std::chrono::steady_clock;

std::chrono::milliseconds ReadBudget(unsigned perByteMs, unsigned constantMs, std::size_t count) {
    // 64-bit, so a large transfer cannot wrap its own time-out round to a tiny one.
    return std::chrono::milliseconds{static_cast<std::int64_t>(perByteMs) *
                                         static_cast<std::int64_t>(count) +
                                     static_cast<std::int64_t>(constantMs)};
}

// Whole milliseconds left until the deadline, rounded up so poll never wakes just short of it;
// 0 once it has passed.
int MillisUntil(Clock::time_point deadline) {
    const Clock::duration left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<std::int64_t>(ms, 1'000'000'000));
}

constexpr std::chrono::milliseconds kStopGrace{kStopGraceMs};

bool WouldBlock(int error) {
    return error == EAGAIN || error == EWOULDBLOCK;
}

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
    const int fd = m_hDevice.Get();
    const Clock::time_point start = Clock::now();
    Clock::time_point deadline = start + WriteGivesUpAfter(bytes.size(), {}, m_timeouts);

    Clock::time_point stopDeadline = Clock::time_point::max();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            // Progress: the stall limit counts afresh from here.
            deadline = start + WriteGivesUpAfter(bytes.size(),
                                                 std::chrono::ceil<std::chrono::milliseconds>(
                                                     Clock::now() - start),
                                                 m_timeouts);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && !WouldBlock(errno)) {
            break; // EIO, EPIPE and the like: the port is gone
        }
        // The driver's buffer is full: wait for room, within the write time-out and the stall
        // limit, and not much longer once a stop has been asked for.
        if (m_stopRequested && stopDeadline == Clock::time_point::max() && m_stopRequested()) {
            stopDeadline = Clock::now() + kStopGrace;
        }
        const Clock::time_point until = std::min(deadline, stopDeadline);
        const int waitMs = MillisUntil(until);
        if (waitMs == 0) {
            break;
        }
        pollfd p{fd, POLLOUT, 0};
        // A stop from another thread does not interrupt poll: look again now and then.
        const int ready = ::poll(
            &p, 1, m_stopRequested ? std::min(waitMs, static_cast<int>(kStopLookMs)) : waitMs);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0 && m_stopRequested) {
            continue; // one look is over; the limits are checked above
        }
        // Room that shows only as the wait runs out does not count: the limit has passed without
        // the printer taking a byte (a pseudo-terminal reports some room on a time-out).
        if (ready <= 0 || (p.revents & POLLOUT) == 0 || Clock::now() >= until) {
            break; // timed out, hung up or failed
        }
    }
    return sent;
}

std::size_t CSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (m_hDevice.IsNull() || buffer.empty()) {
        return 0;
    }
    const int fd = m_hDevice.Get();
    const Clock::time_point totalDeadline =
        Clock::now() +
        ReadBudget(m_timeouts.readPerByteMs, m_timeouts.readConstantMs, buffer.size());
    const std::chrono::milliseconds interval{m_timeouts.readIntervalMs};

    std::size_t got = 0;
    Clock::time_point lastByte{};
    while (got < buffer.size()) {
        // Once bytes flow, a pause longer than the interval also ends the read.
        const Clock::time_point deadline =
            got > 0 ? std::min(totalDeadline, lastByte + interval) : totalDeadline;
        const int waitMs = MillisUntil(deadline);
        if (waitMs == 0) {
            break;
        }
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, waitMs);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (ready == 0) {
            continue; // the deadline is checked at the top
        }
        if ((p.revents & POLLIN) == 0) {
            break; // hang-up or error with nothing left to read
        }
        const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
            lastByte = Clock::now();
            continue;
        }
        if (n < 0 && (errno == EINTR || WouldBlock(errno))) {
            continue;
        }
        break; // end of file, or the peer is gone (EIO on a hung-up terminal)
    }
    return got;
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
