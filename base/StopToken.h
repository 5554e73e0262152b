#pragma once

#include <atomic>

namespace tervan {

// Asks a running conversation to end early. Set from another thread or from a signal handler
// (a lock-free atomic store is async-signal-safe); the conversation looks at it after each pause
// and between commands and rows, so it ends within one pause and still takes the printer out of
// setup mode.
class StopToken {
public:
    void RequestStop() noexcept { m_stop.store(true, std::memory_order_relaxed); }
    bool StopRequested() const noexcept { return m_stop.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> m_stop{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

// A token nobody trips, for callers that cannot be stopped.
inline const StopToken& NeverStop() {
    static const StopToken s_never;
    return s_never;
}

} // namespace tervan
