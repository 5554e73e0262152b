#include "app/win32/OperationMessages.h"

#include "protocol/LinkMessages.h"

namespace tervan {

std::vector<MessageBoxSpec> OpenMessages(const OpenResult& result, std::string_view port,
                                         Language language) {
    std::vector<MessageBoxSpec> boxes;
    for (const MessageText& message : OpenFailureMessages(result, port, language)) {
        const bool unowned = result.outcome == OpenOutcome::StateUnreadable && boxes.empty();
        boxes.push_back({message.text, message.caption, !unowned, !unowned});
    }
    const bool usb = result.outcome == OpenOutcome::UsbOpenFailed;
    if (!boxes.empty()) {
        if (auto hint = OpenFailureHint(result, usb, language)) {
            boxes.back().text += "\n" + *hint;
        }
    }
    return boxes;
}

std::optional<StringId> StatusSuffix(OpenOutcome outcome) {
    switch (outcome) {
    case OpenOutcome::Opened:
        return StringId::ConnectionSuccessful;
    case OpenOutcome::Closed:
        return StringId::ConnectionClosed;
    case OpenOutcome::SerialOpenFailed:
        return std::nullopt;
    case OpenOutcome::StateUnreadable:
    case OpenOutcome::SettingsRefused:
    case OpenOutcome::UsbOpenFailed:
        return StringId::ConnectionFailed;
    }
    return std::nullopt;
}

std::optional<Verdict> ApplyVerdict(ApplyOutcome outcome, bool anythingSent) {
    if (outcome == ApplyOutcome::Stopped && !anythingSent) {
        return std::nullopt;
    }
    return Verdict{VerdictText(outcome), VerdictCaption(outcome)};
}

std::optional<Verdict> DownloadVerdict(const DownloadResult& result, bool anythingSent) {
    if (result.outcome == DownloadOutcome::FileNotOpened ||
        (result.outcome == DownloadOutcome::Stopped && !anythingSent)) {
        return std::nullopt;
    }
    return Verdict{result.message, StringId::Tip};
}

std::string ProgressText(ProgressStage stage, std::size_t step, std::size_t total,
                         Language language) {
    const bool zh = language == Language::Chinese;
    const std::string k = std::to_string(step);
    const std::string n = std::to_string(total);
    switch (stage) {
    case ProgressStage::Settling:
        return zh ? "正在打开端口…" : "Opening the port…";
    case ProgressStage::WaitingForOk:
        return zh ? "正在等待打印机回复 \"OK\"（第 " + k + " 次，共 " + n + " 次）"
                  : "Waiting for the printer's \"OK\" (attempt " + k + " of " + n + ")";
    case ProgressStage::Sending:
        return zh ? "正在发送设置：第 " + k + " 条，共 " + n + " 条"
                  : "Sending the settings: command " + k + " of " + n;
    case ProgressStage::Rows:
        return zh ? "正在下载位图：已发送 " + k + " 行，共 " + n + " 行"
                  : "Downloading the bitmap: " + k + " of " + n + " rows sent";
    case ProgressStage::Printing:
        return zh ? "正在打印位图…" : "Printing the bitmap…";
    case ProgressStage::Stopping:
        return zh ? "正在取消，稍候…" : "Cancelling, please wait…";
    }
    return {};
}

} // namespace tervan
