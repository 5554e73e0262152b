#include "cli/ApplyCommand.h"
#include "cli/ExitCode.h"
#include "cli/InfoCommands.h"
#include "cli/LogoCommand.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <vector>

#if defined(_WIN32)
#include "cli/Utf8ConsoleWin32.h"
#endif

int main(int argc, char** argv) {
    using namespace tervan::cli;
#if defined(_WIN32)
    Utf8Console console;
    if (console.Argc() > 0) {
        argc = console.Argc();
        argv = console.Argv();
    }
#endif
    CLI::App app{"tervan-cli: configure a receipt printer over a serial port or USB"};
    app.require_subcommand(1);
    const std::vector<std::function<int()>> commands = {
        AddApplyCommand(app),
        AddLogoCommand(app),
        AddPortsCommand(app),
        AddListCommand(app),
    };
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitBadInput;
    }
    for (const auto& command : commands) {
        if (const int result = command(); result >= 0) {
            return result;
        }
    }
    return kExitBadInput;
}
