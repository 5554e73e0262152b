#pragma once

#include "link/Link.h"
#include "protocol/Pause.h"

#include <chrono>

namespace tervan {

enum class ReplyOutcome {
    Ok,         // the printer answered "OK"
    NoReply,    // not two bytes within the attempts
    WrongReply, // two bytes, not "OK"
};

constexpr int kReplyAttempts = 49;
constexpr std::chrono::milliseconds kReplyPause{100};

// Waits for the printer's "OK" after EnterSetup: up to 49 reads, each after a 100 ms pause. Bytes
// of earlier reads are kept, so a reply that arrives in two pieces is still recognised.
ReplyOutcome WaitForOk(Link& link, const PauseFn& pause);

} // namespace tervan
