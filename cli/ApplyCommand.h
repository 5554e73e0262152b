#pragma once

#include <CLI/CLI.hpp>

namespace tervan::cli {

// `tervan-cli apply`: the settings form on the command line. Returns the command's runner.
std::function<int()> AddApplyCommand(CLI::App& app);

} // namespace tervan::cli
