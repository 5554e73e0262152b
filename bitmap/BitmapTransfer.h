#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "bitmap/BitmapFile.h"
#include "link/Link.h"
#include "protocol/Strings.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace tervan {

// The printer keeps logos in slots 0 to 8.
constexpr std::uint8_t kBitmapSlots = 9;

struct DownloadProgress {
    std::size_t rowsSent = 0;
    std::size_t rowsTotal = 0;
    std::size_t bytesSent = 0; // row bytes only, padding included
    std::size_t bytesTotal = 0;
};

// Called after each row that went out whole.
using ProgressFn = std::function<void(const DownloadProgress&)>;

enum class DownloadOutcome {
    Stored,        // every write went out whole
    WriteFailed,   // a write failed or was short; the closing commands were still sent
    FileRefused,   // the file failed a check; only LeaveSetup was sent
    FileNotOpened, // nothing was sent
    Stopped,       // the stop token was tripped: the rows ended, the closing commands went out
    DeviceGone,    // the printer vanished (USB unplugged): nothing more was tried
};

struct DownloadResult {
    DownloadOutcome outcome = DownloadOutcome::FileNotOpened;
    StringId message = StringId::FileReadFailure; // the text to show the user
};

// Stores a loaded logo in `slot` over an open link: EnterSetup, StoreBitmap with the row length
// and row count, one write per row top line first, then 500 ms, LeaveSetup, 500 ms, LeaveSetup.
// The first write that fails or is short ends the rows; the closing pauses and commands still go
// out, unless the link reports its device gone: then the download ends at once. A load that
// failed its checks sends LeaveSetup alone; a file that could not be opened
// sends nothing. A tripped `stop` ends the rows after the one going out, and the download ends as
// it always does (pauses, LeaveSetup twice); tripped before the start, nothing is sent.
DownloadResult DownloadBitmap(Link& link, std::uint8_t slot, const LoadResult& load,
                              const PauseFn& pause, const StopToken& stop = NeverStop(),
                              const ProgressFn& progress = {});

// Prints the logo held in `slot`: one PrintStoredBitmap, no setup mode. True when it went out
// whole; a tripped `stop` sends nothing and gives false.
bool PrintBitmap(Link& link, std::uint8_t slot, const StopToken& stop = NeverStop());

} // namespace tervan
