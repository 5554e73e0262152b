#include "cli/LinkOptions.h"

#include "cli/DryRunLink.h"
#include "cli/ExitCode.h"
#include "cli/Fleet.h"
#include "cli/PortRun.h"
#include "cli/StopSignals.h"
#include "cli/SystemPorts.h"
#include "protocol/LinkSession.h"
#include "protocol/SettingLists.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

namespace tervan::cli {

namespace {

// A list of printers longer than any shop has is a file given by mistake.
constexpr std::size_t kMostPorts = 1000;

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

// One port a line; blank lines and lines starting with # are skipped, blanks around a name
// dropped (a Windows file's CR included).
std::optional<std::string> ReadPortsFile(const std::string& path, std::vector<std::string>& out) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        return "--ports-from: " + path + " is a directory, not a file with one port a line";
    }
    std::ifstream in(path);
    if (!in) {
        return "--ports-from: " + path + " cannot be read: " + std::strerror(errno);
    }
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        out.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
        if (out.size() > kMostPorts) {
            return "--ports-from: " + path + " names more than " + std::to_string(kMostPorts) +
                   " ports";
        }
    }
    if (in.bad()) {
        return "--ports-from: " + path + " cannot be read to its end";
    }
    return std::nullopt;
}

// Two names for one port ("usb" and "USB", "COM3" and "com3") would have two threads fight over
// it: what the name opens, compared.
std::string PortKey(const std::string& name) {
    const PortChoice port = ChoosePort(name);
    if (port.tcp) {
        return "tcp:" + TcpEndpointName(*port.tcp);
    }
    return port.usb ? "usb:" + port.usbLocation : port.path;
}

} // namespace

void AddLinkOptions(CLI::App& command, LinkOptions& options) {
    command
        .add_option("--port", options.ports,
                    std::string(PortOptionHelp()) +
                        "; usb:BUS-PORT for one of several USB printers, tcp:HOST[:PORT] for a "
                        "network printer (port 9100 unless given). Give it once per printer to "
                        "set several at once")
        ->type_name("PORT")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    command
        .add_option("--ports-from", options.portsFrom,
                    "the printers' ports from FILE, one a line (# starts a comment)")
        ->type_name("FILE");
    command.add_option("--baud", options.baud, "1200|2400|4800|9600|19200|38400|57600|115200")
        ->capture_default_str();
    command.add_option("--parity", options.parity, "none|odd|even")->capture_default_str();
    command.add_option("--data-bits", options.dataBits, "7|8")->capture_default_str();
    command.add_flag("--dry-run", options.dryRun,
                     "no printer: print each write as hex, one line each, on stdout");
    command.add_flag("--trace", options.trace, "log every write and read on stderr");
    command.add_flag("--json", options.json,
                     "one JSON object a line per printer on stdout, as each finishes: port, "
                     "verdict, exit_status, message, seconds, bytes_sent");
}

std::optional<std::string> CheckLinkOptions(const LinkOptions& options, LineSettings& line) {
    if (options.ports.empty() && options.portsFrom.empty() && !options.dryRun) {
        return "--port: missing; give " + std::string(PortOptionWanted()) +
               " (tervan-cli ports lists them)";
    }
    if (options.dryRun &&
        (options.json || options.ports.size() > 1 || !options.portsFrom.empty())) {
        return "--dry-run: shows one conversation; give it without --json, --ports-from and more "
               "than one --port";
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

PortList GatherPorts(const LinkOptions& options) {
    PortList list{options.ports, std::nullopt};
    if (!options.portsFrom.empty()) {
        if (auto problem = ReadPortsFile(options.portsFrom, list.ports)) {
            return {{}, std::move(problem)};
        }
        if (list.ports.size() == options.ports.size()) {
            return {{}, "--ports-from: " + options.portsFrom + " names no port"};
        }
    }
    std::set<std::string> seen;
    for (const std::string& port : list.ports) {
        if (port.empty()) {
            return {{}, "--port: empty; give " + std::string(PortOptionWanted())};
        }
        if (auto problem = PortNameProblem(port)) {
            return {{}, "--port: " + *problem};
        }
        if (!seen.insert(PortKey(port)).second) {
            return {{}, "--port: '" + port + "' is given twice"};
        }
    }
    return list;
}

void PrintText(std::string_view text) {
    std::cerr << text << '\n' << std::flush;
}

int RunOnLink(const LinkOptions& options, const Work& work) {
    LineSettings line;
    if (const auto problem = CheckLinkOptions(options, line)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    const StopToken& stop = CliStopToken();
    const SayFn print = PrintText;
    if (options.dryRun) {
        const PortChoice port = ChoosePort(options.ports.empty() ? "" : options.ports.front());
        DryRunLink dryRun(std::cout);
        const PauseFn noPause = [](std::chrono::milliseconds) {};
        const int result = work({dryRun, port.usb, noPause, stop, print, print});
        if (dryRun.OutputFailed()) {
            PrintText("--dry-run: standard output cannot be written: " +
                      std::string(std::strerror(dryRun.OutputError())));
            return kExitFailed;
        }
        return result;
    }
    const PortList ports = GatherPorts(options);
    if (ports.problem) {
        PrintText(*ports.problem);
        return kExitBadInput;
    }
    if (ports.ports.size() > 1 || options.json) {
        return RunOnPrinters(ports.ports, options, line, FleetSetup{std::cout, stop}, work);
    }
    PortRunSetup setup{line, StoppablePause(stop), stop, print, print};
    setup.trace = options.trace ? &std::cerr : nullptr;
    return RunOnPort(ports.ports.front(), setup, work).status;
}

} // namespace tervan::cli
