#include "form/LinkToggle.h"

#include "form/WindowStrings.h"
#include "protocol/LinkMessages.h"

#include <optional>

namespace tervan {

FormChanges ReportToggle(FormState& form, const OpenResult& result, std::string_view title,
                         Language language) {
    FormChanges changes;
    std::optional<WindowString> status = WindowString::ConnectionFailed;
    switch (result.outcome) {
    case OpenOutcome::Opened:
        changes = OnLinkOpened(form, std::string(LoadString(WindowString::Close, language)));
        status = WindowString::ConnectionSuccessful;
        break;
    case OpenOutcome::Closed:
        changes = OnLinkClosed(form, std::string(LoadString(WindowString::Open, language)));
        status = WindowString::ConnectionClosed;
        break;
    case OpenOutcome::SerialOpenFailed:
        status.reset(); // the port is missing or busy: the title stays
        break;
    case OpenOutcome::StateUnreadable:
    case OpenOutcome::SettingsRefused:
    case OpenOutcome::UsbOpenFailed:
    case OpenOutcome::TcpOpenFailed:
        break;
    }
    for (const MessageText& box : OpenFailureBoxes(result, language)) {
        changes.boxes.push_back({box.text, box.caption, !box.portOwn, !box.portOwn});
    }
    // The remedy, where one is known, on a line of its own under the last box.
    const bool usb = result.outcome == OpenOutcome::UsbOpenFailed;
    if (const auto hint = OpenFailureHint(result, usb, language); hint && !changes.boxes.empty()) {
        changes.boxes.back().text += "\n" + *hint;
    }
    if (status) {
        changes.title = std::string(title) + std::string(LoadString(*status, language));
    }
    return changes;
}

} // namespace tervan
