#pragma once

#include "base/StopToken.h"

#include <chrono>
#include <functional>

namespace tervan {

// Every fixed pause of a conversation goes through one of these, so tests can record the
// pauses instead of sleeping them.
using PauseFn = std::function<void(std::chrono::milliseconds)>;

// The real pause: sleeps the calling thread.
void SleepPause(std::chrono::milliseconds duration);

// A real pause that wakes early once `stop` is tripped, so a Cancel or a signal is answered
// within a few milliseconds rather than after the rest of the pause; while the conversation keeps
// a promise to the printer, only an abandon wakes it. The token must outlive the returned
// function.
PauseFn StoppablePause(const StopToken& stop);

} // namespace tervan
