#pragma once

#include "link/Link.h"
#include "protocol/Pause.h"
#include "protocol/PrinterSettings.h"
#include "protocol/Strings.h"

#include <cstdint>
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
};

struct OffsetProblem {
    std::uint8_t position; // SetupCommandTable::kMarkStart or kMarkTear
    std::int32_t value;    // as parsed
};

// The first set mark offset whose magnitude the printer cannot take (above 65,535). Front ends
// check this before they open the link; offsets whose list is not set are not read.
std::optional<OffsetProblem> FindOffsetOutOfRange(const PrinterSettings& settings);

// The whole setup conversation on an open link: purge (serial only), EnterSetup, wait for "OK",
// every set setting in the printer tool's fixed order, LeaveSetup on every path once EnterSetup
// went out. Pauses go through `pause`.
ApplyOutcome ApplySettings(const PrinterSettings& settings, Link& link, bool isUsb,
                           const PauseFn& pause);

// The verdict's message text and caption.
StringId VerdictText(ApplyOutcome outcome);
StringId VerdictCaption(ApplyOutcome outcome);

} // namespace tervan
