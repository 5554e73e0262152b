#pragma once

#include "base/StopToken.h"

namespace tervan::cli {

// SIGINT, SIGTERM and SIGHUP (where the system has them) trip the command line's stop token, so the
// conversation ends within one pause and the printer still leaves setup mode; a second one
// abandons, even the blank rows a stopped download owes the printer. SIGPIPE is ignored, so a
// closed pipe shows as a failed write. Handlers only store; no call is restarted, every wait in
// the link polls.
void InstallStopSignals();

const StopToken& CliStopToken();

// The first stop signal that came, 0 for none.
int CaughtSignal();

// Notes `signal` as caught and trips the token, or abandons after an earlier one;
// async-signal-safe. The platform's handler calls it.
void NoteStopSignal(int signal) noexcept;

} // namespace tervan::cli
