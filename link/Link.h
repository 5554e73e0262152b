#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace tervan {

// One open connection to the printer: serial, USB or network. Every call is synchronous and bounded
// by the link's own time-outs, so a printer that vanishes never hangs the caller.
class Link {
public:
    virtual ~Link() = default;

    // Number of bytes that went out; 0 on a closed link, fewer than asked on a time-out.
    virtual std::size_t Write(std::span<const std::uint8_t> bytes) = 0;
    // Number of bytes received within the read time-out (a read of n bytes gives up after
    // 100 x n + 10 ms); 0 on a closed link.
    virtual std::size_t Read(std::span<std::uint8_t> buffer) = 0;
    // Bytes written but still held by the system, not yet taken by the printer; 0 on a link that
    // cannot tell and on a closed one.
    virtual std::size_t QueuedBytes() const = 0;
    // Discards whatever the driver holds in both directions.
    virtual void Purge() = 0;
    // Closing a closed link does nothing.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // True once the device behind an open link has vanished (a USB printer unplugged): every later
    // write and read fails at once, and nothing reaches the printer until it is opened anew.
    // Only links that can tell say so; Close clears it.
    virtual bool DeviceGone() const { return false; }

    Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
};

// Why a link did not open, as far as the system tells; the front ends add a hint where one helps.
enum class OpenCause {
    None,             // it opened, or nothing more is known
    NotFound,         // no such port, or no printer on USB
    PermissionDenied, // the user may not open it
    Busy,             // another program holds it
    NotClaimable,     // USB: the printer's interface cannot be claimed
    StateUnreadable,  // serial: opened, but it is no serial port (its line state cannot be read)
    SettingsRefused,  // serial: the line settings were not accepted
    DeviceGone,       // USB: the printer vanished while the link was open
    HostUnknown,      // network: the host name stands for no address
    Refused,          // network: nothing listens at that address and port
    TimedOut,         // network: no connection within the connect limit
    Stopped,          // a stop came while the link was being opened
    Other,            // another system error; see the error number
};

// The time-outs of a link, in milliseconds, shared by the serial and the USB binding.
constexpr unsigned kReadIntervalMs = 50;
constexpr unsigned kReadPerByteMs = 100;
constexpr unsigned kReadConstantMs = 10;
constexpr unsigned kWritePerByteMs = 1000;
constexpr unsigned kWriteConstantMs = 1000;
// A write ends as a failure once the printer has taken no byte for this long, however much time
// the per-byte budget above would still give it (a 62,500-byte row would otherwise wait 17 hours).
constexpr unsigned kWriteStallMs = 10000;

// Once a stop is asked for, a transfer waits at most this much longer for the printer: enough for
// a printer that is merely slow to take a closing LeaveSetup, short for one that jams. A wait
// looks at the stop this often.
constexpr unsigned kStopGraceMs = 500;
constexpr unsigned kStopLookMs = 50;

constexpr unsigned ReadTimeoutMs(std::size_t count) {
    return static_cast<unsigned>(kReadPerByteMs * count + kReadConstantMs);
}
constexpr unsigned WriteTimeoutMs(std::size_t count) {
    return static_cast<unsigned>(kWritePerByteMs * count + kWriteConstantMs);
}

} // namespace tervan
