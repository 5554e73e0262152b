#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tervan::sim {

// How the virtual printer answers the setup request 1B 06.
enum class ReplyMode {
    Ok,     // "OK" at once
    Wrong,  // two bytes other than "OK"
    Silent, // nothing
    Split,  // "O", 100 ms pause, "K"
    Late,   // "OK" after the configured delay
};

struct VirtualPrinterOptions {
    ReplyMode reply = ReplyMode::Ok;
    std::chrono::milliseconds delay{0}; // for ReplyMode::Late
    std::filesystem::path outDir{};     // where slot-N.png goes on a print; empty: none written
    // Stop reading the line for good once this many bytes have arrived, as a printer that jams
    // does: the peer's writes then block once the line's buffer is full. 0: read forever.
    std::size_t stallAfter = 0;
    // Read no faster than this many bytes a second, as a slow printer does: the peer's writes
    // then wait once the line's buffer is full. 0: as fast as the bytes come.
    std::size_t bytesPerSecond = 0;
    // A network printer instead: it listens on this machine's loopback addresses at this TCP port
    // (0: one the system picks) and serves one connection at a time, as a printer's raw port
    // does; the next waits until the one before has closed.
    std::optional<std::uint16_t> tcpPort{};

    // Called on the serving thread, in order: each chunk of bytes as it arrives, then each line
    // decoded from it. They must not stop the printer or make it vanish.
    std::function<void(std::span<const std::uint8_t>)> onBytes{};
    std::function<void(const std::string&)> onLine{};
};

// The printer's side of the protocol on a pseudo-terminal or a TCP port. It reads everything the
// peer writes on a thread of its own (the peer never blocks), records every byte and decodes the
// stream.
class VirtualPrinter {
public:
    explicit VirtualPrinter(VirtualPrinterOptions options = {});
    ~VirtualPrinter(); // stops
    VirtualPrinter(const VirtualPrinter&) = delete;
    VirtualPrinter& operator=(const VirtualPrinter&) = delete;

    // Opens the pseudo-terminal (or the TCP port) and starts serving. False when none can be had.
    bool Start();
    // What the peer opens: the slave's device path, or "tcp:127.0.0.1:PORT"; empty before Start.
    std::string SlavePath() const;

    std::vector<std::uint8_t> Received() const;
    // One readable line per recognised command, e.g. `SetCodePage n=11`; unknown bytes as hex.
    std::vector<std::string> Decoded() const;
    // Waits until at least `count` bytes have been received; false on time-out.
    bool WaitForBytes(std::size_t count, std::chrono::milliseconds timeout) const;

    // The printer vanishes: serving ends and the master side (the connection and the listening
    // port) is closed, so the peer's reads and writes fail. Stopping a stopped printer does
    // nothing.
    void Stop();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace tervan::sim
