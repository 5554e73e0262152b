#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "link/Link.h"
#include "link/PrinterLinks.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tervan::cli {

// The link options every printer command shares.
struct LinkOptions {
    std::vector<std::string> ports; // --port, once per printer
    std::string portsFrom;          // --ports-from: a file with one port a line
    std::string baud = "9600";
    std::string parity = "none";
    std::string dataBits = "8";
    bool dryRun = false;
    bool trace = false;
    bool json = false;
};

void AddLinkOptions(CLI::App& command, LinkOptions& options);

// The line settings the options name, or one line that says which option is wrong.
std::optional<std::string> CheckLinkOptions(const LinkOptions& options, LineSettings& line);

// The printers the options name, --port ones first, then those of --ports-from, each once; or one
// line that says what is wrong.
struct PortList {
    std::vector<std::string> ports;
    std::optional<std::string> problem;
};
PortList GatherPorts(const LinkOptions& options);

using SayFn = std::function<void(std::string_view)>;

struct Session {
    Link& link;
    bool isUsb;
    const PauseFn& pause;
    const StopToken& stop;
    // What the user is told about this printer: the verdict, why it failed.
    const SayFn& say;
    // What the user should know while the conversation goes on (a stopped download's blank rows).
    const SayFn& note;
    // Several printers at once: one report line each, no progress bar.
    bool many = false;
};

using Work = std::function<int(const Session&)>;

// Runs `work` on the printer the options name, through the core's link session (open, 500 ms,
// work, close), or on the dry-run stand-in; on several printers at once, each on its own link and
// thread (see Fleet.h). A link that does not open is reported here and gives kExitNoLink; a stop
// before the work began sends nothing and gives kExitFailed, as does a dry run whose output cannot
// be written.
int RunOnLink(const LinkOptions& options, const Work& work);

// One message text on stderr, in the user's language.
void PrintText(std::string_view text);

} // namespace tervan::cli
