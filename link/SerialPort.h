#pragma once

#include "link/Link.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#if defined(_WIN32)
#include "link/UniqueHandleWin32.h"
#else
#include "link/UniqueFdPosix.h"
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

// The time-outs that bound every read and write of the serial link, in milliseconds.
struct SerialTimeouts {
    unsigned readIntervalMs = kReadIntervalMs;
    unsigned readPerByteMs = kReadPerByteMs;
    unsigned readConstantMs = kReadConstantMs;
    unsigned writePerByteMs = kWritePerByteMs;
    unsigned writeConstantMs = kWriteConstantMs;
};

// A serial port by its device path. Raw line (nothing translated), one stop bit, no flow control,
// DTR and RTS off; every read and write is bounded by the time-outs above, so a printer that
// disappears never hangs the caller. The port is held exclusively while open.
class CSerialPort : public Link {
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
    void Purge() override;
    bool Close() override;
    bool IsOpen() const override;

private:
#if defined(_WIN32)
    UniqueHandle m_hDevice;
#else
    UniqueFd m_hDevice;
#endif
    // Fixed values; kept here because Read and Write take their bounds from the port, as the
    // driver does on Windows. They hold before Configure too.
    SerialTimeouts m_timeouts;
};

} // namespace tervan
