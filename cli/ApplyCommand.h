#pragma once

#include "protocol/InputCheck.h"
#include "protocol/PrinterSettings.h"
#include "protocol/SettingTable.h"

#include <CLI/CLI.hpp>

#include <array>
#include <optional>
#include <string>

namespace tervan::cli {

// `tervan-cli apply`: the settings form on the command line. Returns the command's runner.
std::function<int()> AddApplyCommand(CLI::App& app);

// The setting options of `apply`, which `profile save` takes as well.
struct SettingOptions {
    // By the table's rows.
    std::array<std::string, kSettingTable.size()> values;
    std::array<CLI::Option*, kSettingTable.size()> given = {};
    bool alternative = false; // the dot-matrix fonts
};

void AddSettingOptions(CLI::App& command, SettingOptions& options);

// The options given, read over what `settings` holds already (a profile's settings, or none);
// one line naming the option that cannot be read.
std::optional<std::string> BuildSettings(const SettingOptions& options, PrinterSettings& settings);

// The line that refuses what the input check found, naming the option.
std::string SettingProblemText(const InputProblem& problem, const SettingOptions& options,
                               const AnsiCodePage& codePage);

} // namespace tervan::cli
