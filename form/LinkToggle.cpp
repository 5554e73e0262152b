#include "form/LinkToggle.h"

#include "form/Gather.h"
#include "protocol/LinkMessages.h"
#include "protocol/LinkSession.h"

namespace tervan {

namespace {

std::string Text(StringId id, Language language) {
    return std::string(LoadString(id, language));
}

// The text of a failure box, with the remedy on a line of its own where one is known.
std::string WithHint(std::string text, const OpenResult& result, bool usb, Language language) {
    if (const auto hint = OpenFailureHint(result, usb, language)) {
        text += "\n" + *hint;
    }
    return text;
}

} // namespace

ToggleReport ReportToggle(FormState& form, const OpenResult& result, std::string_view title,
                          Language language) {
    ToggleReport report;
    report.outcome = result.outcome;
    const bool usb = result.outcome == OpenOutcome::UsbOpenFailed;
    const BoxMessage general{
        WithHint(Text(StringId::PortOpenFailed, language), result, usb, language),
        Text(StringId::Failure, language)};
    std::optional<StringId> status;
    switch (result.outcome) {
    case OpenOutcome::Opened:
        report.changes = OnLinkOpened(form, Text(StringId::Close, language));
        status = StringId::ConnectionSuccessful;
        break;
    case OpenOutcome::Closed:
        report.changes = OnLinkClosed(form, Text(StringId::Open, language));
        status = StringId::ConnectionClosed;
        break;
    case OpenOutcome::SerialOpenFailed:
        // Two literals without a table entry: the same in every language. No status follows.
        report.messages.push_back({WithHint("连接失败", result, false, language), "错误"});
        break;
    case OpenOutcome::StateUnreadable:
        report.messages.push_back({"BuildCommDCB", "ERROR", false, false});
        report.messages.push_back(general);
        status = StringId::ConnectionFailed;
        break;
    case OpenOutcome::SettingsRefused:
    case OpenOutcome::UsbOpenFailed:
    case OpenOutcome::TcpOpenFailed:
        report.messages.push_back(general);
        status = StringId::ConnectionFailed;
        break;
    }
    if (status) {
        report.title = std::string(title) + Text(*status, language);
    }
    return report;
}

ToggleReport ToggleSelectedLink(FormState& form, PrinterLinks& links, std::string_view title,
                                Language language) {
    links.SelectUsb(form.m_bUsb);
    const PortChoice port = ChoosePort(SelectedPort(form));
    const OpenResult result = links.Toggle(port.path, GatherLineSettings(form));
    return ReportToggle(form, result, title, language);
}

} // namespace tervan
