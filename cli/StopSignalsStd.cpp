#include "cli/StopSignals.h"

#include <csignal>

// Systems without sigaction: the standard handler for the two stop signals they have.
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
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
}

const StopToken& CliStopToken() {
    return g_stop;
}

int CaughtSignal() {
    return g_signal;
}

} // namespace tervan::cli
