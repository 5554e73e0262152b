#pragma once

#include "link/Link.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace tervan {

// The time-outs that bound every read and write of the serial link, in milliseconds. The network
// link keeps the same ones, so a printer behaves alike however it is reached.
struct SerialTimeouts {
    unsigned readIntervalMs = kReadIntervalMs;
    unsigned readPerByteMs = kReadPerByteMs;
    unsigned readConstantMs = kReadConstantMs;
    unsigned writePerByteMs = kWritePerByteMs;
    unsigned writeConstantMs = kWriteConstantMs;
    unsigned writeStallMs = kWriteStallMs;
};

// How long after its start a write of `count` bytes gives up, when it last took a byte
// `lastProgress` after its start (zero: not yet): at the end of the per-byte budget, or once the
// stall limit has passed since the last progress, whichever comes first.
constexpr std::chrono::milliseconds WriteGivesUpAfter(std::size_t count,
                                                      std::chrono::milliseconds lastProgress,
                                                      const SerialTimeouts& t) {
    // 64-bit, so a large transfer cannot wrap its own time-out round to a tiny one.
    const std::chrono::milliseconds budget{std::int64_t{t.writePerByteMs} *
                                               static_cast<std::int64_t>(count) +
                                           std::int64_t{t.writeConstantMs}};
    return std::min(budget, lastProgress + std::chrono::milliseconds{t.writeStallMs});
}

} // namespace tervan
