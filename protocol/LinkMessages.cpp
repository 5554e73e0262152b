#include "protocol/LinkMessages.h"

namespace tervan {

namespace {

std::string SystemReason(int error, Language language) {
    if (language == Language::Chinese) {
        return "系统错误 " + std::to_string(error);
    }
    return SystemErrorText(error);
}

} // namespace

std::string OpenFailureReason(const OpenResult& result, bool usb, Language language) {
    const bool zh = language == Language::Chinese;
    switch (result.cause) {
    case OpenCause::None:
        return zh ? "原因不明" : "reason unknown";
    case OpenCause::NotFound:
        if (usb) {
            return zh ? "未找到打印机 (0483:5720)" : "no printer found (0483:5720)";
        }
        return zh ? "没有这个端口" : "no such port";
    case OpenCause::PermissionDenied:
        return zh ? "没有权限" : "permission denied";
    case OpenCause::Busy:
        return zh ? "正被其他程序使用" : "in use by another program";
    case OpenCause::NotClaimable:
        return zh ? "无法占用打印机的接口" : "the printer's interface cannot be claimed";
    case OpenCause::StateUnreadable:
        return zh ? "不是串口（读不到线路状态）"
                  : "not a serial port (its line state cannot be read)";
    case OpenCause::SettingsRefused:
        return zh ? "端口不接受这些线路设置" : "the port refused the line settings";
    case OpenCause::DeviceGone:
        return zh ? "打印机已断开连接" : "the printer was disconnected";
    case OpenCause::HostUnknown:
        return zh ? "找不到该主机" : "unknown host";
    case OpenCause::Refused:
        // The system's own words where it has them ("Connection refused").
        return zh ? "连接被拒绝"
                  : (result.systemError != 0 ? SystemErrorText(result.systemError)
                                             : "connection refused");
    case OpenCause::TimedOut:
        return zh ? "3 秒内未能连接" : "no connection within 3 s";
    case OpenCause::Stopped:
        return zh ? "已停止" : "stopped";
    case OpenCause::Other:
        return SystemReason(result.systemError, language);
    }
    return SystemReason(result.systemError, language);
}

std::vector<MessageText> OpenFailureBoxes(const OpenResult& result, Language language) {
    const MessageText general{std::string(LoadString(StringId::PortOpenFailed, language)),
                              std::string(LoadString(StringId::Failure, language))};
    switch (result.outcome) {
    case OpenOutcome::Opened:
    case OpenOutcome::Closed:
        return {};
    case OpenOutcome::SerialOpenFailed:
        // These two literals have no entry in the string table: the same in every language.
        return {{"连接失败", "错误"}};
    case OpenOutcome::StateUnreadable:
        return {{"BuildCommDCB", "ERROR", true}, general};
    case OpenOutcome::SettingsRefused:
    case OpenOutcome::UsbOpenFailed:
    case OpenOutcome::TcpOpenFailed:
        return {general};
    }
    return {general};
}

std::vector<MessageText> OpenFailureMessages(const OpenResult& result, std::string_view port,
                                             Language language) {
    std::vector<MessageText> boxes = OpenFailureBoxes(result, language);
    if (!boxes.empty()) {
        const bool usb = result.outcome == OpenOutcome::UsbOpenFailed;
        std::string& last = boxes.back().text;
        last += '\n';
        // A USB printer chosen by its place is named by it; the first one found is just "USB".
        last += usb && port.empty() ? std::string_view("USB") : port;
        last += language == Language::Chinese ? "：" : ": ";
        last += OpenFailureReason(result, usb, language);
    }
    return boxes;
}

} // namespace tervan
