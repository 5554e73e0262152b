#include "base/Pause.h"

#include <algorithm>
#include <thread>

namespace tervan {

namespace {

// How often a stoppable pause looks at its token. A signal handler cannot wake a condition
// variable safely, so the pause polls; this short a slice costs nothing measurable.
constexpr std::chrono::milliseconds kStopPollSlice{10};

} // namespace

void SleepPause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

PauseFn StoppablePause(const StopToken& stop) {
    return [&stop](std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (!stop.WaitsEnd()) {
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero()) {
                return;
            }
            std::this_thread::sleep_for(
                std::min<std::chrono::steady_clock::duration>(left, kStopPollSlice));
        }
    };
}

} // namespace tervan
