#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "bitmap/BitmapFile.h"
#include "link/Link.h"
#include "protocol/Strings.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace tervan {

// The printer keeps logos in slots 0 to 8.
constexpr std::uint8_t kBitmapSlots = 9;

struct DownloadProgress {
    std::size_t rowsTaken = 0; // rows the printer has taken whole
    std::size_t rowsTotal = 0;
    // Row bytes (padding included) the printer has taken: those written less those the system
    // still holds for it.
    std::size_t bytesTaken = 0;
    std::size_t bytesTotal = 0;
    bool filling = false; // stopped: the rest of the rows goes out blank
    // While filling: about how long the rest takes, at the pace the printer has taken bytes so
    // far; none while that is not known yet.
    std::optional<std::chrono::seconds> timeLeft;
};

// Called after each row written, blank ones included, and while the end of the download waits
// for the system to pass the last rows on.
using ProgressFn = std::function<void(const DownloadProgress&)>;

enum class DownloadOutcome {
    Stored,        // every write went out whole
    WriteFailed,   // a write failed or was short; the closing commands were still sent
    FileRefused,   // the file failed a check; only LeaveSetup was sent
    FileNotOpened, // nothing was sent
    Stopped,       // the stop token was tripped: the slot holds the rows sent before it, the rest
                   // went out blank, then the closing commands; tripped before the start,
                   // nothing was sent
    DeviceGone,    // the printer vanished (USB unplugged): nothing more was tried
    Abandoned,     // an abandon gave up the blank rows: the printer is still in setup mode
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::FileNotOpened;
    StringId message = StringId::FileReadFailure; // the text to show the user; %1 is the slot
    std::uint8_t slot = 0;
};

// Stores a loaded logo in `slot` over an open link: EnterSetup, StoreBitmap with the row length
// and row count, one write per row top line first; once the system has passed the rows on, 500 ms,
// LeaveSetup, 500 ms, LeaveSetup. The first write that fails or is short ends the rows; the
// closing pauses and commands still go out, unless the link reports its device gone: then the
// download ends at once. A load that failed its checks sends LeaveSetup alone;
// a file that could not be opened sends nothing. Tripped before the start, `stop` sends nothing.
// Once StoreBitmap has gone out the printer takes the next stride x height bytes as pixels, so a
// stop sends the rest of them as blank pixels (00), from the byte where the rows ended, before the
// closing pauses and commands; neither these writes nor the pauses end early by the stop. An
// abandon ends them at once, and nothing more is sent.
DownloadResult DownloadBitmap(Link& link, std::uint8_t slot, const LoadResult& load,
                              const PauseFn& pause, const StopToken& stop = NeverStop(),
                              const ProgressFn& progress = {});

// Prints the logo held in `slot`: one PrintStoredBitmap, no setup mode. True when it went out
// whole; a tripped `stop` sends nothing and gives false.
bool PrintBitmap(Link& link, std::uint8_t slot, const StopToken& stop = NeverStop());

} // namespace tervan
