#include "cli/StopSignals.h"

#include <csignal>

// Systems without sigaction: the standard handler for the two stop signals they have.
namespace tervan::cli {

void InstallStopSignals() {
    std::signal(SIGINT, NoteStopSignal);
    std::signal(SIGTERM, NoteStopSignal);
}

} // namespace tervan::cli
