#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "link/Link.h"
#include "protocol/PrinterSettings.h"
#include "protocol/Strings.h"
#include "protocol/ToAnsi.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace tervan {

enum class ApplyOutcome {
    Success,
    NoReply,          // no "OK" within the attempts
    WrongReply,       // two bytes other than "OK"
    EmptyBtName,      // Bluetooth name checked but empty: aborted there
    BadBtPassword,    // Bluetooth password checked but not 4 characters: aborted there
    WriteFailed,      // a write failed or was short: nothing more but LeaveSetup
    OffsetOutOfRange, // refused before anything was sent
    Stopped,          // the stop token was tripped; LeaveSetup went out if EnterSetup had
    DeviceGone,       // the printer vanished (USB unplugged): nothing more was tried
};

// Where a running conversation is, for a progress window: the wait for "OK" (step = the read
// attempt, of kReplyAttempts) or the settings (step = commands sent so far, of those the settings
// ask for; step 0 comes once, as the first command is about to go out).
enum class ApplyPhase { WaitingForOk, Sending };

struct ApplyProgress {
    ApplyPhase phase = ApplyPhase::WaitingForOk;
    int step = 0;
    int total = 0;
};

using ApplyProgressFn = std::function<void(const ApplyProgress&)>;

struct OffsetProblem {
    std::uint8_t position;            // SetupCommandTable::kMarkStart or kMarkTear
    std::optional<std::int64_t> dots; // as read; none when it was not a number
};

// The first set mark offset the printer cannot take: a magnitude above kMaxMarkOffset, or no
// number at all. Front ends check this before they open the link; offsets whose list is not set
// are not looked at.
std::optional<OffsetProblem> FindOffsetOutOfRange(const PrinterSettings& settings);

// The whole setup conversation on an open link: purge (serial only), EnterSetup, wait for "OK",
// every set setting in the fixed order, LeaveSetup on every path once EnterSetup
// went out, unless the link reports its device gone: then nothing more is tried. Texts go out in
// `codePage`, the one they were checked in. Pauses go through `pause`. A tripped `stop` ends the
// run within one pause, between two commands, never inside one; stopped before EnterSetup, nothing
// is sent at all. `progress` is called on the caller's thread.
ApplyOutcome ApplySettings(const PrinterSettings& settings, const AnsiCodePage& codePage,
                           Link& link, bool isUsb, const PauseFn& pause,
                           const StopToken& stop = NeverStop(),
                           const ApplyProgressFn& progress = {});

// The verdict's message text and caption.
StringId VerdictText(ApplyOutcome outcome);
StringId VerdictCaption(ApplyOutcome outcome);

} // namespace tervan
