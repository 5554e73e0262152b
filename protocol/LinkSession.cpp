#include "protocol/LinkSession.h"

#include <algorithm>
#include <cctype>

namespace tervan {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// "tcp:..." or "usb:..." in any case.
bool HasScheme(std::string_view name, std::string_view scheme) {
    return name.size() > scheme.size() && name[scheme.size()] == ':' &&
           EqualIgnoringCase(name.substr(0, scheme.size()), scheme);
}

} // namespace

std::optional<std::string> ComDevicePath(std::string_view name) {
    if (name.size() < 4 || name.size() > 6 || !EqualIgnoringCase(name.substr(0, 3), "com")) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(3);
    if (digits.front() == '0' || !std::all_of(digits.begin(), digits.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return std::nullopt;
    }
    if (std::stoi(std::string(digits)) > 255) {
        return std::nullopt;
    }
    return "\\\\.\\COM" + std::string(digits);
}

PortChoice ChoosePort(std::string_view name) {
    if (EqualIgnoringCase(name, "usb")) {
        return {true, {}, {}, {}};
    }
    if (HasScheme(name, "usb")) {
        return {true, {}, std::string(name.substr(4)), {}};
    }
    if (HasScheme(name, "tcp")) {
        if (auto endpoint = ParseTcpEndpoint(name.substr(4))) {
            return {false, {}, {}, std::move(endpoint)};
        }
    }
    return {false, SerialDevicePath(name), {}, {}};
}

std::optional<std::string> PortNameProblem(std::string_view name) {
    // Appended piece by piece: GCC 12 takes "'" + std::string(...) for an overlapping copy.
    std::string problem = "'";
    problem += name;
    if (HasScheme(name, "tcp") && !ParseTcpEndpoint(name.substr(4))) {
        problem += "' is not tcp:HOST or tcp:HOST:PORT (an IPv6 address in brackets, e.g. "
                   "tcp:[::1]:9100; PORT 1..65535)";
        return problem;
    }
    if (HasScheme(name, "usb")) {
        const std::string_view place = name.substr(4);
        const std::size_t dash = place.find('-');
        const auto digits = [](std::string_view part, std::string_view allowed) {
            return !part.empty() && part.find_first_not_of(allowed) == std::string_view::npos;
        };
        if (dash == std::string_view::npos || !digits(place.substr(0, dash), "0123456789") ||
            !digits(place.substr(dash + 1), "0123456789.")) {
            problem += "' is not usb:BUS-PORT, the place a printer is plugged in as tervan-cli "
                       "ports lists it (e.g. usb:1-2 or usb:1-2.3)";
            return problem;
        }
    }
    return std::nullopt;
}

void SelectPort(PrinterLinks& links, const PortChoice& port) {
    if (port.tcp) {
        links.SelectTcp(*port.tcp);
    } else if (port.usb) {
        links.SelectUsbAt(port.usbLocation);
    } else {
        links.SelectUsb(false);
    }
}

bool SettleAfterOpen(const PauseFn& pause, const StopToken& stop) {
    if (stop.StopRequested()) {
        return false;
    }
    pause(kSettleAfterOpen);
    return !stop.StopRequested();
}

OpenResult OpenLink(PrinterLinks& links, const PortChoice& port, const LineSettings& line) {
    SelectPort(links, port);
    return links.Open(port.path, line);
}

SessionResult RunLinkSession(PrinterLinks& links, const PortChoice& port, const LineSettings& line,
                             const PauseFn& pause, const StopToken& stop,
                             const std::function<void(Link& link, bool isUsb)>& work) {
    if (stop.StopRequested()) {
        return {SessionOutcome::Stopped, {}};
    }
    const StopCheckScope stopCheck(links, stop);
    const OpenResult open = OpenLink(links, port, line);
    if (open.outcome != OpenOutcome::Opened) {
        // A stop that ended the wait for a connection is a stop, not a printer that is missing.
        return {stop.StopRequested() ? SessionOutcome::Stopped : SessionOutcome::NotOpened, open};
    }
    SessionResult result{SessionOutcome::Stopped, open};
    if (SettleAfterOpen(pause, stop)) {
        work(links.ActivePort(), links.IsUsb());
        result.outcome = SessionOutcome::Ran;
    }
    links.Close();
    return result;
}

} // namespace tervan
