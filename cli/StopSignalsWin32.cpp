#include "cli/StopSignals.h"

#include <windows.h>

#include <csignal>

namespace tervan::cli {

namespace {

// The console's events as the signals a POSIX shell would report: Ctrl+C and Ctrl+Break as
// SIGINT (exit status 130), a closed window, a log-off or a shut-down as SIGTERM (143).
BOOL WINAPI OnConsoleEvent(DWORD event) {
    const bool interrupt = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    NoteStopSignal(interrupt ? SIGINT : SIGTERM);
    if (!interrupt) {
        // The system ends the process once this returns: give the conversation the time it has
        // (about five seconds) to take the printer out of setup mode. The program's own exit
        // ends this wait earlier.
        ::Sleep(4500);
    }
    return TRUE;
}

} // namespace

void InstallStopSignals() {
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

} // namespace tervan::cli
