#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "link/Link.h"
#include "link/PrinterLinks.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>

namespace tervan::cli {

// The link options every printer command shares.
struct LinkOptions {
    std::string port;
    std::string baud = "9600";
    std::string parity = "none";
    std::string dataBits = "8";
    bool dryRun = false;
    bool trace = false;
};

void AddLinkOptions(CLI::App& command, LinkOptions& options);

// The line settings the options name, or one line that says which option is wrong.
std::optional<std::string> CheckLinkOptions(const LinkOptions& options, LineSettings& line);

struct Session {
    Link& link;
    bool isUsb;
    const PauseFn& pause;
    const StopToken& stop;
};

// Runs `work` on the link the options name, through the core's link session (open, 500 ms,
// work, close), or on the dry-run stand-in. A link that does not open is reported here and gives
// kExitNoLink; a stop before the work began sends nothing and gives kExitFailed, as does a dry
// run whose output cannot be written.
int RunOnLink(const LinkOptions& options, const std::function<int(const Session&)>& work);

// One message text on stderr, in the user's language.
void PrintText(std::string_view text);

} // namespace tervan::cli
