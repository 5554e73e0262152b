#pragma once

#include "cli/LinkOptions.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tervan::cli {

// How one printer of several fared.
struct PrinterReport {
    std::string port;
    int status = 0;      // by the exit status table
    std::string verdict; // ok, failed, no-link or stopped
    std::vector<std::string> messages;
    double seconds = 0;
    std::size_t bytesSent = 0;
};

// "PORT  VERDICT  1.23 s  MESSAGE; MESSAGE"
std::string ReportLine(const PrinterReport& report);
// {"port":"…","verdict":"…","exit_status":N,"message":"…","seconds":N,"bytes_sent":N}
std::string ReportJson(const PrinterReport& report);

struct FleetSetup {
    std::ostream& out; // the report lines
    const StopToken& stop;
    // Each printer's pauses; the real, stoppable ones unless a test records them.
    std::function<PauseFn(const StopToken&)> pauseFor = StoppablePause;
};

// Every printer at once, each on its own links and thread, each the one-printer conversation of
// `work`. One report line per printer as it finishes (JSON with --json). A stop reaches every
// printer, and each leaves setup mode as a lone one does. The exit status is 0 when all succeeded,
// else the status of the first failing printer in the order given.
int RunOnPrinters(const std::vector<std::string>& ports, const LinkOptions& options,
                  const LineSettings& line, const FleetSetup& setup, const Work& work);

} // namespace tervan::cli
