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

    // The harder stop (a second signal, the progress window closed): it gives up even what a stop
    // still finishes, the blank rows a stopped download owes the printer, which then stays in
    // setup mode. It stops as well.
    void RequestAbandon() noexcept {
        m_abandon.store(true, std::memory_order_relaxed);
        RequestStop();
    }
    bool AbandonRequested() const noexcept { return m_abandon.load(std::memory_order_relaxed); }

    // Whether a wait (a pause, a write the printer is slow to take) should end early: after a
    // stop, unless the conversation is keeping a promise to the printer; after an abandon, always.
    bool WaitsEnd() const noexcept {
        return AbandonRequested() ||
               (StopRequested() && m_promises.load(std::memory_order_relaxed) == 0);
    }

    // While one lives, the conversation owes the printer bytes it has announced (the printer
    // takes everything until then as data): a stop no longer cuts its writes and pauses short.
    class Promise {
    public:
        Promise() = default; // none made yet
        explicit Promise(const StopToken& token) { Make(token); }
        ~Promise() { Release(); }
        Promise(const Promise&) = delete;
        Promise& operator=(const Promise&) = delete;

        void Make(const StopToken& token) noexcept {
            Release();
            m_token = &token;
            m_token->m_promises.fetch_add(1, std::memory_order_relaxed);
        }
        // Kept or broken: waits end on a stop again.
        void Release() noexcept {
            if (m_token != nullptr) {
                m_token->m_promises.fetch_sub(1, std::memory_order_relaxed);
                m_token = nullptr;
            }
        }

    private:
        const StopToken* m_token = nullptr;
    };

private:
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_abandon{false};
    // Counted by the conversation, which otherwise only looks at the token.
    mutable std::atomic<int> m_promises{0};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

// A token nobody trips, for callers that cannot be stopped.
inline const StopToken& NeverStop() {
    static const StopToken s_never;
    return s_never;
}

} // namespace tervan
