#pragma once

#include "sim/VirtualPrinter.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace tervan::sim {

// One piece of the answer to 1B 06, sent this long after the request arrived.
struct TimedReply {
    std::chrono::milliseconds after{0};
    std::vector<std::uint8_t> bytes;
};

std::vector<TimedReply> PlanReply(ReplyMode mode, std::chrono::milliseconds delay);

} // namespace tervan::sim
