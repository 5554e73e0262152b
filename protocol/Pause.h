#pragma once

#include <chrono>
#include <functional>

namespace tervan {

// Every fixed pause of a conversation goes through one of these, so tests can record the
// pauses instead of sleeping them.
using PauseFn = std::function<void(std::chrono::milliseconds)>;

// The real pause: sleeps the calling thread.
void SleepPause(std::chrono::milliseconds duration);

} // namespace tervan
