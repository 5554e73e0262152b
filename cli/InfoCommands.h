#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace tervan::cli {

// `tervan-cli ports` and `tervan-cli list [NAME]`.
std::function<int()> AddPortsCommand(CLI::App& app);
std::function<int()> AddListCommand(CLI::App& app);

} // namespace tervan::cli
