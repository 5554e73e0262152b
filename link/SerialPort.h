#pragma once

#include "link/Link.h"
#include "link/LinkTimeouts.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

#if defined(_WIN32)
#include "link/SerialPortWin32.h"
#else
#include "link/SerialPortPosix.h"
#endif

namespace tervan {

// Why Configure failed, so the front end can pick its message: an unreadable port state has a
// message of its own before the general one.
enum class ConfigureResult { Ok, StateUnreadable, SettingsRefused };

// Bits per second of the form's baud-rate list, by position. Defined for 0..7; any other index
// gives 0, which no port accepts.
constexpr std::uint32_t BaudFromIndex(std::size_t index) {
    constexpr std::array<std::uint32_t, 8> kBauds{1200,  2400,  4800,  9600,
                                                  19200, 38400, 57600, 115200};
    return index < kBauds.size() ? kBauds[index] : 0;
}

// A serial port by its device path. Raw line (nothing translated), one stop bit, no flow control,
// DTR and RTS off; every read and write is bounded by the time-outs above, so a printer that
// disappears never hangs the caller. The port is held exclusively while open. The platform's
// handle of the open port is the binding's m_hDevice.
class CSerialPort final : public Link, private SerialPortBinding {
public:
    CSerialPort() = default;
    ~CSerialPort() override;

    // Opening an open link closes the old port first: a port is never leaked, and on failure
    // the link is closed.
    bool Open(const std::string& path);
    // Time-outs first, then the line settings; the result says what failed. Shows nothing.
    ConfigureResult Configure(std::uint32_t baudRate, char parity, std::uint8_t byteSize);

    std::size_t Write(std::span<const std::uint8_t> bytes) override;
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::size_t QueuedBytes() const override;
    void Purge() override;
    void Close() override;
    bool IsOpen() const override;

    // Why the last Open or Configure failed, and the system's error number (0 when none).
    OpenCause FailureCause() const { return m_failureCause; }
    int FailureError() const { return m_failureError; }

    // While `stopRequested` answers true, a write that waits for the printer to take bytes gives
    // up half a second later: a printer that has jammed does not hold a stopped conversation for
    // the whole stall limit. Empty: writes are not stopped.
    void SetStopCheck(std::function<bool()> stopRequested) {
        m_stopRequested = std::move(stopRequested);
    }

    // Only for tests that stall a port on purpose and cannot wait the full limit.
    void SetWriteStallLimit(std::chrono::milliseconds limit) {
        m_timeouts.writeStallMs = static_cast<unsigned>(limit.count());
    }

private:
    void Fail(OpenCause cause, int error) {
        m_failureCause = cause;
        m_failureError = error;
    }

    // Fixed values; kept here because Read and Write take their bounds from the port, as the
    // driver does on Windows. They hold before Configure too.
    SerialTimeouts m_timeouts;
    std::function<bool()> m_stopRequested;
    OpenCause m_failureCause = OpenCause::None;
    int m_failureError = 0;
};

} // namespace tervan
