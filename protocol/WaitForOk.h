#pragma once

#include "base/Bytes.h"
#include "base/Pause.h"
#include "base/StopToken.h"
#include "link/Link.h"

#include <chrono>
#include <functional>

namespace tervan {

enum class ReplyOutcome {
    Ok,         // the printer answered "OK"
    NoReply,    // not two bytes within the attempts
    WrongReply, // two bytes, not "OK"
    Stopped,    // the stop token was tripped; ended after the pause it came in
    DeviceGone, // the link's device vanished; ended at once
};

constexpr int kReplyAttempts = 49;
constexpr std::chrono::milliseconds kReplyPause{100};

// Called before each read with the attempt's number, 1 to kReplyAttempts.
using AttemptFn = std::function<void(int attempt)>;

// Waits for the printer's "OK" after EnterSetup: up to 49 reads, each after a 100 ms pause. Bytes
// of earlier reads are kept, so a reply that arrives in two pieces is still recognised. The token
// is looked at after every pause, so a stop ends the wait within one pause and one read. A link
// whose device vanished ends the wait after the read that found out.
ReplyOutcome WaitForOk(Link& link, const PauseFn& pause, const StopToken& stop = NeverStop(),
                       const AttemptFn& onAttempt = {});

} // namespace tervan
