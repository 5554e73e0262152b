#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "link/PrinterLinks.h"
#include "link/TcpEndpoint.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The link a user names: "usb" in any case selects the first USB printer, "usb:BUS-PORTPATH" the
// one plugged in there, "tcp:HOST[:PORT]" a network printer (port 9100 unless given); anything
// else is a serial port by its device path (on Windows "COM3" as well, which becomes
// "\\.\COM3").
struct PortChoice {
    bool usb = false;
    std::string path;               // the serial port; empty otherwise
    std::string usbLocation;        // empty: the first USB printer
    std::optional<TcpEndpoint> tcp; // set for a network printer
};

PortChoice ChoosePort(std::string_view name);

// Why `name` names no port, in one line (a "tcp:" or "usb:" name that does not parse); nullopt
// when it is fine. ChoosePort takes a faulty name for a serial path, which then fails to open.
std::optional<std::string> PortNameProblem(std::string_view name);

// Makes `links` use the port chosen.
void SelectPort(PrinterLinks& links, const PortChoice& port);

// "COMn" (any case, n from 1 to 255) as the device path Windows opens it by, "\\.\COMn", which
// also reaches ports above 9; nullopt for any other name. Used on Windows only.
std::optional<std::string> ComDevicePath(std::string_view name);

// The device path a serial port's name stands for: on Windows a "COMn" name becomes its
// ComDevicePath; any other name, and every name elsewhere, is the path itself.
std::string SerialDevicePath(std::string_view name);

// The printer needs this long after the port opens before it listens.
constexpr std::chrono::milliseconds kSettleAfterOpen{500};

// The pause after opening, through `pause`. False when a stop came before or during it: the
// operation then sends nothing and closes the link again.
bool SettleAfterOpen(const PauseFn& pause, const StopToken& stop);

// Opens the chosen link, the first step of every operation: on a failure nothing stays open.
OpenResult OpenLink(PrinterLinks& links, const PortChoice& port, const LineSettings& line);

// While it lives, a write or a USB transfer that waits on a printer which takes nothing gives up
// soon after `stop` ends waits.
class StopCheckScope {
public:
    StopCheckScope(PrinterLinks& links, const StopToken& stop) : m_links(links) {
        m_links.SetStopCheck([&stop] { return stop.WaitsEnd(); });
    }
    ~StopCheckScope() { m_links.SetStopCheck({}); }
    StopCheckScope(const StopCheckScope&) = delete;
    StopCheckScope& operator=(const StopCheckScope&) = delete;

private:
    PrinterLinks& m_links;
};

enum class SessionOutcome {
    Ran,       // opened, settled, the work ran, closed
    NotOpened, // see the OpenResult; nothing sent
    Stopped,   // stopped before the work began; nothing sent, the link (if opened) closed
};

struct SessionResult {
    SessionOutcome outcome = SessionOutcome::NotOpened;
    OpenResult open;
};

// One operation around a conversation, as every front end runs it: open the chosen link, settle
// 500 ms, run `work` on the link in use, close. A front end that shows something while the link
// is open (a window: its file chooser and its verdict) takes the steps one at a time: OpenLink,
// SettleAfterOpen under a StopCheckScope, the work, PrinterLinks::Close.
SessionResult RunLinkSession(PrinterLinks& links, const PortChoice& port, const LineSettings& line,
                             const PauseFn& pause, const StopToken& stop,
                             const std::function<void(Link& link, bool isUsb)>& work);

} // namespace tervan
