#pragma once

#include "link/LinkTimeouts.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace tervan {

// What one attempt at moving bytes without blocking came to.
enum class IoTry {
    Moved,       // `bytes` went (at least one)
    WouldBlock,  // nothing can move now
    Interrupted, // a signal came first: try again
    Closed,      // the other end has gone: end of file, reset, hang-up
    Failed,      // any other error
};

struct IoStep {
    IoTry what = IoTry::Failed;
    std::size_t bytes = 0;
};

// What a wait for readiness came to.
enum class IoWait { Ready, TimedOut, Interrupted, Closed, Failed };

// The calls of one open descriptor the bounded loops below need: one attempt each way that never
// blocks, and a wait of at most `ms` milliseconds until it could move bytes.
struct NonBlockingIo {
    std::function<IoStep(std::span<const std::uint8_t>)> writeSome;
    std::function<IoStep(std::span<std::uint8_t>)> readSome;
    std::function<IoWait(bool forWrite, int ms)> wait;
};

struct BoundedResult {
    std::size_t bytes = 0;
    bool closed = false; // the other end went away
};

// A write bounded as the serial link's: the per-byte budget and the stall limit of `t`, and half
// a second more once `stopRequested` answers true (empty: never asked).
BoundedResult BoundedWrite(const NonBlockingIo& io, std::span<const std::uint8_t> bytes,
                           const SerialTimeouts& t, const std::function<bool()>& stopRequested);

// A read bounded as the serial link's: a read of n bytes gives up after 100 x n + 10 ms, and once
// bytes flow, after a pause of more than 50 ms between two of them.
BoundedResult BoundedRead(const NonBlockingIo& io, std::span<std::uint8_t> buffer,
                          const SerialTimeouts& t);

} // namespace tervan
