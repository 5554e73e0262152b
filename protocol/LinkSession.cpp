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
        return {true, {}};
    }
    return {false, SerialDevicePath(name)};
}

bool SettleAfterOpen(const PauseFn& pause, const StopToken& stop) {
    if (stop.StopRequested()) {
        return false;
    }
    pause(kSettleAfterOpen);
    return !stop.StopRequested();
}

OpenResult OpenLink(PrinterLinks& links, const PortChoice& port, const LineSettings& line) {
    links.SelectUsb(port.usb);
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
        return {SessionOutcome::NotOpened, open};
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
