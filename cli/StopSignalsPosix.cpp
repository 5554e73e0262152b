#include "cli/StopSignals.h"

#include <csignal>

namespace tervan::cli {

namespace {

StopToken g_stop;
volatile std::sig_atomic_t g_signal = 0;

void OnStopSignal(int signal) {
    if (g_signal == 0) {
        g_signal = signal;
    }
    g_stop.RequestStop();
}

} // namespace

void InstallStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

const StopToken& CliStopToken() {
    return g_stop;
}

int CaughtSignal() {
    return g_signal;
}

} // namespace tervan::cli
