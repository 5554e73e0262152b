#include "base/WideTextWin32.h"
#include "link/SerialDcbWin32.h"
#include "link/SerialPort.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>

namespace tervan {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kStopGrace{kStopGraceMs};
// A write goes out in pieces this long; each finished piece counts as progress for the stall
// limit. At 1200 bit/s a piece takes about two seconds.
constexpr std::size_t kWritePiece = 256;
// The driver ends every read by the port's time-outs; this much beyond them the wait is cut
// short all the same, should a driver not keep them.
constexpr DWORD kReadMarginMs = 1000;

DWORD ClampToDword(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
}

DWORD MillisUntil(Clock::time_point deadline) {
    const Clock::duration left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<DWORD>(std::min<std::int64_t>(ms, INFINITE - 1));
}

bool IsDevicePath(const std::string& path) {
    return path.starts_with("\\\\.\\");
}

// A COM port admits one opener: the system answers a second one with "access denied".
OpenCause CauseOfOpenError(DWORD error, bool device) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
        return OpenCause::NotFound;
    case ERROR_ACCESS_DENIED:
        return device ? OpenCause::Busy : OpenCause::PermissionDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return OpenCause::Busy;
    default:
        return OpenCause::Other;
    }
}

// The bytes an overlapped transfer moved, once it has ended (on its own or cancelled).
std::size_t Finish(HANDLE device, OVERLAPPED& overlapped, bool completed) {
    if (!completed) {
        // The buffer must not be left to a transfer that is still running: cancel, then wait
        // for the cancellation to land.
        ::CancelIoEx(device, &overlapped);
    }
    DWORD moved = 0;
    static_cast<void>(::GetOverlappedResult(device, &overlapped, &moved, TRUE));
    return moved;
}

} // namespace

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(const std::string& path) {
    Close();
    Fail(OpenCause::None, 0);
    if (path.empty() || path.find('\0') != std::string::npos) {
        Fail(OpenCause::NotFound, ERROR_FILE_NOT_FOUND);
        return false;
    }
    // Overlapped, so that a write can be given up on at the stall limit or a stop and cancelled;
    // the port's time-outs still bound every transfer. Not shared: a port in use elsewhere fails.
    const std::wstring widePath = WidenUtf8(path);
    UniqueHandle handle{::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED,
                                      nullptr)};
    if (handle.IsNull()) {
        const DWORD error = ::GetLastError();
        Fail(CauseOfOpenError(error, IsDevicePath(path)), static_cast<int>(error));
        return false;
    }
    UniqueHandle ioDone{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    if (ioDone.IsNull()) {
        Fail(OpenCause::Other, static_cast<int>(::GetLastError()));
        return false;
    }
    // A port left with zero time-outs by another program would let a read block for ever even
    // before Configure; Configure applies the same values again.
    COMMTIMEOUTS timeouts = LinkCommTimeouts();
    static_cast<void>(::SetCommTimeouts(handle.Get(), &timeouts));
    m_hDevice = std::move(handle);
    m_ioDone = std::move(ioDone);
    m_timeouts = SerialTimeouts{};
    return true;
}

ConfigureResult CSerialPort::Configure(std::uint32_t baudRate, char parity, std::uint8_t byteSize) {
    if (m_hDevice.IsNull()) {
        Fail(OpenCause::StateUnreadable, ERROR_INVALID_HANDLE);
        return ConfigureResult::StateUnreadable;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(m_hDevice.Get(), &dcb)) {
        Fail(OpenCause::StateUnreadable, static_cast<int>(::GetLastError()));
        return ConfigureResult::StateUnreadable;
    }
    // Time-outs before the line settings; a refusal of the time-outs is not fatal.
    m_timeouts = SerialTimeouts{};
    COMMTIMEOUTS timeouts = LinkCommTimeouts();
    static_cast<void>(::SetCommTimeouts(m_hDevice.Get(), &timeouts));

    ApplyLineSettings(dcb, baudRate, parity, byteSize);
    if (!::SetCommState(m_hDevice.Get(), &dcb)) {
        Fail(OpenCause::SettingsRefused, static_cast<int>(::GetLastError()));
        return ConfigureResult::SettingsRefused;
    }
    return ConfigureResult::Ok;
}

std::size_t CSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (m_hDevice.IsNull() || bytes.empty()) {
        return 0;
    }
    const Clock::time_point start = Clock::now();
    std::chrono::milliseconds lastProgress{0};
    Clock::time_point stopDeadline = Clock::time_point::max();
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const DWORD piece = ClampToDword(std::min(kWritePiece, bytes.size() - sent));
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_ioDone.Get();
        const BOOL started =
            ::WriteFile(m_hDevice.Get(), bytes.data() + sent, piece, nullptr, &overlapped);
        if (!started && ::GetLastError() != ERROR_IO_PENDING) {
            break; // the port is gone
        }
        // Wait within the write budget and the stall limit, and not much longer once a stop has
        // been asked for; the driver's own write time-out may end the piece earlier.
        bool completed = false;
        for (;;) {
            if (m_stopRequested && stopDeadline == Clock::time_point::max() && m_stopRequested()) {
                stopDeadline = Clock::now() + kStopGrace;
            }
            const Clock::time_point until = std::min(
                start + WriteGivesUpAfter(bytes.size(), lastProgress, m_timeouts), stopDeadline);
            const DWORD waitMs = MillisUntil(until);
            const DWORD result = ::WaitForSingleObject(
                m_ioDone.Get(), m_stopRequested ? std::min<DWORD>(waitMs, kStopLookMs) : waitMs);
            if (result == WAIT_OBJECT_0) {
                completed = true;
                break;
            }
            if (result != WAIT_TIMEOUT || Clock::now() >= until) {
                break;
            }
        }
        const std::size_t moved = Finish(m_hDevice.Get(), overlapped, completed);
        sent += moved;
        if (moved > 0) {
            // Progress: the stall limit counts afresh from here.
            lastProgress = std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start);
        }
        if (moved < piece) {
            break; // timed out, stopped or failed: nothing more is leaving the port
        }
    }
    return sent;
}

std::size_t CSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (m_hDevice.IsNull() || buffer.empty()) {
        return 0;
    }
    // The driver ends the read by the interval and total time-outs set on the port. Only the
    // count matters: bytes that arrived before a failure are still the printer's.
    const DWORD count = ClampToDword(std::min<std::size_t>(buffer.size(), 1u << 20));
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_ioDone.Get();
    const BOOL started = ::ReadFile(m_hDevice.Get(), buffer.data(), count, nullptr, &overlapped);
    if (!started && ::GetLastError() != ERROR_IO_PENDING) {
        return 0;
    }
    const bool completed =
        ::WaitForSingleObject(m_ioDone.Get(), ReadTimeoutMs(count) + kReadMarginMs) ==
        WAIT_OBJECT_0;
    return Finish(m_hDevice.Get(), overlapped, completed);
}

std::size_t CSerialPort::QueuedBytes() const {
    DWORD errors = 0;
    COMSTAT status{};
    if (m_hDevice.IsNull() || !::ClearCommError(m_hDevice.Get(), &errors, &status)) {
        return 0;
    }
    return status.cbOutQue;
}

void CSerialPort::Purge() {
    if (!m_hDevice.IsNull()) {
        static_cast<void>(::PurgeComm(m_hDevice.Get(), PURGE_TXCLEAR | PURGE_RXCLEAR));
    }
}

void CSerialPort::Close() {
    m_hDevice.Reset();
    m_ioDone.Reset();
}

bool CSerialPort::IsOpen() const {
    return !m_hDevice.IsNull();
}

} // namespace tervan
