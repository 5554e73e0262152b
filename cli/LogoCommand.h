#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace tervan::cli {

// `tervan-cli logo download` and `tervan-cli logo print`.
std::function<int()> AddLogoCommand(CLI::App& app);

} // namespace tervan::cli
