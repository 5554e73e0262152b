#include "cli/LinkOptions.h"

#include "cli/DryRunLink.h"
#include "cli/ExitCode.h"
#include "cli/StopSignals.h"
#include "cli/SystemPorts.h"
#include "cli/TracingLink.h"
#include "protocol/LinkMessages.h"
#include "protocol/LinkSession.h"
#include "protocol/SettingLists.h"

#include <cstring>
#include <iostream>

namespace tervan::cli {

namespace {

std::optional<char> ParityLetter(const std::string& value) {
    for (const auto& [name, letter] : {std::pair{"none", 'N'},
                                       {"odd", 'O'},
                                       {"even", 'E'},
                                       {"n", 'N'},
                                       {"o", 'O'},
                                       {"e", 'E'}}) {
        if (value == name || (value.size() == 1 && value[0] == letter)) {
            return letter;
        }
    }
    return std::nullopt;
}

} // namespace

void AddLinkOptions(CLI::App& command, LinkOptions& options) {
    command.add_option("--port", options.port, std::string(PortOptionHelp()))->type_name("PORT");
    command.add_option("--baud", options.baud, "1200|2400|4800|9600|19200|38400|57600|115200")
        ->capture_default_str();
    command.add_option("--parity", options.parity, "none|odd|even")->capture_default_str();
    command.add_option("--data-bits", options.dataBits, "7|8")->capture_default_str();
    command.add_flag("--dry-run", options.dryRun,
                     "no printer: print each write as hex, one line each, on stdout");
    command.add_flag("--trace", options.trace, "log every write and read on stderr");
}

std::optional<std::string> CheckLinkOptions(const LinkOptions& options, LineSettings& line) {
    if (options.port.empty() && !options.dryRun) {
        return "--port: missing; give " + std::string(PortOptionWanted()) +
               " (tervan-cli ports lists them)";
    }
    bool known = false;
    for (const ListItem& item : Lists::kBaudRate.items) {
        if (item.text == options.baud) {
            line.baudRate = static_cast<std::uint32_t>(std::stoul(options.baud));
            known = true;
        }
    }
    if (!known) {
        return "--baud: '" + options.baud +
               "' is not one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200";
    }
    const auto parity = ParityLetter(options.parity);
    if (!parity) {
        return "--parity: '" + options.parity + "' is not one of none, odd, even";
    }
    line.parity = *parity;
    if (options.dataBits != "7" && options.dataBits != "8") {
        return "--data-bits: '" + options.dataBits + "' is not 7 or 8";
    }
    line.byteSize = static_cast<std::uint8_t>(options.dataBits == "7" ? 7 : 8);
    return std::nullopt;
}

void PrintText(std::string_view text) {
    std::cerr << text << '\n' << std::flush;
}

int RunOnLink(const LinkOptions& options, const std::function<int(const Session&)>& work) {
    LineSettings line;
    if (const auto problem = CheckLinkOptions(options, line)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    const PortChoice port = ChoosePort(options.port);
    const StopToken& stop = CliStopToken();
    if (options.dryRun) {
        DryRunLink dryRun(std::cout);
        const PauseFn noPause = [](std::chrono::milliseconds) {};
        const int result = work({dryRun, port.usb, noPause, stop});
        if (dryRun.OutputFailed()) {
            PrintText("--dry-run: standard output cannot be written: " +
                      std::string(std::strerror(dryRun.OutputError())));
            return kExitFailed;
        }
        return result;
    }

    PrinterLinks links;
    const PauseFn pause = StoppablePause(stop);
    int result = kExitFailed;
    const SessionResult session =
        RunLinkSession(links, port, line, pause, stop, [&](Link& link, bool isUsb) {
            if (!options.trace) {
                result = work({link, isUsb, pause, stop});
            } else {
                TracingLink traced(link, std::cerr);
                traced.Note("opened " + (isUsb ? std::string("usb") : port.path));
                result = work({traced, isUsb, pause, stop});
                traced.Note(link.DeviceGone() ? "the device is gone" : "done");
            }
            // The verdict the command printed says what failed; this says why.
            if (link.DeviceGone()) {
                PrintText(LoadString(StringId::PrinterGone));
            }
        });
    if (session.outcome == SessionOutcome::NotOpened) {
        const Language language = UiLanguage();
        for (const MessageText& message : OpenFailureMessages(session.open, port.path, language)) {
            PrintText(message.text);
        }
        if (const auto hint = OpenFailureHint(session.open, port.usb, language)) {
            PrintText(*hint);
        }
        return kExitNoLink;
    }
    return session.outcome == SessionOutcome::Ran ? result : static_cast<int>(kExitFailed);
}

} // namespace tervan::cli
