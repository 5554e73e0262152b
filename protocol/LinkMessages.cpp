#include "protocol/LinkMessages.h"

namespace tervan {

std::vector<MessageText> OpenFailureMessages(OpenOutcome outcome, Language language) {
    const MessageText general{std::string(LoadString(StringId::PortOpenFailed, language)),
                              std::string(LoadString(StringId::Failure, language))};
    switch (outcome) {
    case OpenOutcome::Opened:
        return {};
    case OpenOutcome::SerialOpenFailed:
        // These two literals have no entry in the string table: the same in every language.
        return {{"连接失败", "错误"}};
    case OpenOutcome::StateUnreadable:
        return {{"BuildCommDCB", "ERROR"}, general};
    case OpenOutcome::SettingsRefused:
    case OpenOutcome::UsbOpenFailed:
        return {general};
    }
    return {general};
}

} // namespace tervan
