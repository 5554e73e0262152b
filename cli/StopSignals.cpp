#include "cli/StopSignals.h"

#include <atomic>

namespace tervan::cli {

namespace {

StopToken g_stop;
// Lock-free, so a signal handler may set it.
std::atomic<int> g_signal{0};
static_assert(std::atomic<int>::is_always_lock_free);

} // namespace

void NoteStopSignal(int signal) noexcept {
    int none = 0;
    if (g_signal.compare_exchange_strong(none, signal)) {
        g_stop.RequestStop();
    } else {
        g_stop.RequestAbandon(); // a second signal: the user will not wait for the blank rows
    }
}

const StopToken& CliStopToken() {
    return g_stop;
}

int CaughtSignal() {
    return g_signal.load();
}

} // namespace tervan::cli
