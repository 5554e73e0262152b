#pragma once

#include "cli/LinkOptions.h"
#include "protocol/PrinterSettings.h"
#include "protocol/ToAnsi.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace tervan::cli {

// `tervan-cli profile save FILE [settings]` and `tervan-cli profile show FILE`. Returns the
// command's runner.
std::function<int()> AddProfileCommand(CLI::App& app);

// `apply --profile FILE`: the profile's settings into `settings`, and its link into `link` where
// `apply` was given no link option of its own (its port where no --port or --ports-from names
// the printers). False, with the refusal printed, when the profile
// is refused.
bool TakeProfile(const std::string& file, const CLI::App& apply, const AnsiCodePage& codePage,
                 PrinterSettings& settings, LinkOptions& link);

} // namespace tervan::cli
