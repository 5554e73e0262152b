#include "base/Version.h"
#include "cli/ApplyCommand.h"
#include "cli/ExitCode.h"
#include "cli/InfoCommands.h"
#include "cli/LogoCommand.h"
#include "cli/ProfileCommand.h"
#include "cli/StopSignals.h"
#include "cli/Utf8Console.h"
#include "link/StandardDescriptors.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>
#include <functional>
#include <vector>

namespace {

// A run ended by a stop signal exits as the signal would have ended it: 128 + its number.
int ExitStatus(int result) {
    const int signal = tervan::cli::CaughtSignal();
    return signal != 0 ? 128 + signal : result;
}

int Run(int argc, char** argv) {
    using namespace tervan::cli;
    tervan::EnsureStandardDescriptors();
    InstallStopSignals();
    Utf8Console console(argc, argv);
    argc = console.Argc();
    argv = console.Argv();
    CLI::App app{"tervan-cli: configure receipt printers over a serial port, USB or the network"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "tervan-cli " TERVAN_VERSION, "Show the version and end");
    const std::vector<std::function<int()>> commands = {
        AddApplyCommand(app), AddLogoCommand(app), AddProfileCommand(app),
        AddPortsCommand(app), AddListCommand(app),
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help or --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitBadInput;
    }
    for (const auto& command : commands) {
        if (const int result = command(); result >= 0) {
            return ExitStatus(result);
        }
    }
    return kExitBadInput;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        // Nothing is meant to throw this far (memory running out, say); the links have closed
        // on the way here, and the user is told rather than left with an abort.
        std::fprintf(stderr, "tervan-cli: %s\n", e.what());
        return tervan::cli::kExitFailed;
    }
}
