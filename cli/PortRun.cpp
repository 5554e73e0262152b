#include "cli/PortRun.h"

#include "cli/CountingLink.h"
#include "cli/ExitCode.h"
#include "cli/TracingLink.h"
#include "link/TcpEndpoint.h"
#include "protocol/LinkMessages.h"
#include "protocol/LinkSession.h"

namespace tervan::cli {

PortRunResult RunOnPort(const std::string& name, const PortRunSetup& setup, const Work& work) {
    const PortChoice port = ChoosePort(name);
    // The port as messages name it: a network printer by its endpoint, a USB one by its place
    // (none: the first one found), a serial port by its path.
    std::string shown = port.path;
    if (port.tcp) {
        shown = "tcp:" + TcpEndpointName(*port.tcp);
    } else if (port.usb && !port.usbLocation.empty()) {
        shown = "usb:" + port.usbLocation;
    }
    PrinterLinks links;
    PortRunResult result;
    const SessionResult session = RunLinkSession(
        links, port, setup.line, setup.pause, setup.stop, [&](Link& link, bool isUsb) {
            CountingLink counted(link);
            const auto run = [&](Link& used) {
                return work(
                    {used, isUsb, setup.pause, setup.stop, setup.say, setup.note, setup.many});
            };
            if (setup.trace == nullptr) {
                result.status = run(counted);
            } else {
                TracingLink traced(counted, *setup.trace);
                traced.Note("opened " +
                            (isUsb ? std::string("usb") +
                                         (port.usbLocation.empty() ? "" : ":" + port.usbLocation)
                                   : shown));
                result.status = run(traced);
                traced.Note(link.DeviceGone() ? "the device is gone" : "done");
            }
            result.bytesSent = counted.Sent();
            // The verdict the command gave says what failed; this says why.
            if (link.DeviceGone()) {
                setup.say(port.tcp ? FormatString(LoadString(StringId::ConnectionDropped), {shown})
                                   : std::string(LoadString(StringId::PrinterGone)));
            }
        });
    if (session.outcome == SessionOutcome::NotOpened) {
        const Language language = UiLanguage();
        for (const MessageText& message : OpenFailureMessages(session.open, shown, language)) {
            setup.say(message.text);
        }
        if (const auto hint = OpenFailureHint(session.open, port.usb, language)) {
            setup.say(*hint);
        }
        result.status = kExitNoLink;
        return result;
    }
    if (session.outcome == SessionOutcome::Stopped) {
        result.status = kExitFailed;
    }
    result.stopped = setup.stop.StopRequested();
    return result;
}

} // namespace tervan::cli
