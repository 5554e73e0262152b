#include "protocol/LinkMessages.h"

#include <cstdio>
#include <cstring>

namespace tervan {

namespace {

std::string SystemReason(int error, Language language) {
    if (language == Language::Chinese) {
        return "系统错误 " + std::to_string(error);
    }
#if defined(_WIN32)
    // A Windows error code, which strerror would misread as an errno value.
    return "Windows error " + std::to_string(error);
#else
    // The C locale's text, English whatever the environment says.
    return error > 0 ? std::string(std::strerror(error)) : "error " + std::to_string(error);
#endif
}

#if defined(__linux__)
// "0660 (rw-rw----)", as chmod takes it and as ls shows it.
std::string ModeText(unsigned mode) {
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", mode & 07777u);
    std::string symbolic;
    for (unsigned shift : {6u, 3u, 0u}) {
        const unsigned bits = (mode >> shift) & 7u;
        symbolic += (bits & 4u) != 0 ? 'r' : '-';
        symbolic += (bits & 2u) != 0 ? 'w' : '-';
        symbolic += (bits & 1u) != 0 ? 'x' : '-';
    }
    return std::string(octal) + " (" + symbolic + ")";
}

// Joining the dialout group helps only where that group may read and write the port.
bool DialoutMayOpen(const PortAccess& access) {
    return access.group == "dialout" && (access.mode & 060u) == 060u;
}
#endif

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
    case OpenCause::Other:
        return SystemReason(result.systemError, language);
    }
    return SystemReason(result.systemError, language);
}

std::vector<MessageText> OpenFailureMessages(const OpenResult& result, std::string_view port,
                                             Language language) {
    const bool usb = result.outcome == OpenOutcome::UsbOpenFailed;
    const std::string detail = std::string(usb ? std::string_view("USB") : port) +
                               (language == Language::Chinese ? "：" : ": ") +
                               OpenFailureReason(result, usb, language);
    const MessageText general{std::string(LoadString(StringId::PortOpenFailed, language)) + "\n" +
                                  detail,
                              std::string(LoadString(StringId::Failure, language))};
    switch (result.outcome) {
    case OpenOutcome::Opened:
    case OpenOutcome::Closed:
        return {};
    case OpenOutcome::SerialOpenFailed:
        // These two literals have no entry in the string table: the same in every language.
        return {{"连接失败\n" + detail, "错误"}};
    case OpenOutcome::StateUnreadable:
        return {{"BuildCommDCB", "ERROR"}, general};
    case OpenOutcome::SettingsRefused:
    case OpenOutcome::UsbOpenFailed:
        return {general};
    }
    return {general};
}

std::optional<std::string> OpenFailureHint(const OpenResult& result, bool usb, Language language) {
#if defined(__linux__)
    const bool zh = language == Language::Chinese;
    if (usb && result.cause == OpenCause::Busy) {
        // The kernel's own printer driver is set aside on its own; what remains is a program.
        return zh ? "提示：另一个程序（例如打印服务 "
                    "CUPS）正在使用打印机，请等它完成或停止它，然后重试。"
                  : "Hint: another program (a print service such as CUPS, for instance) is using "
                    "the "
                    "printer; wait until it has finished or stop it, then try again.";
    }
    if (result.cause != OpenCause::PermissionDenied) {
        return std::nullopt;
    }
    if (usb) {
        return zh ? "提示：按 README 安装 udev 规则 contrib/60-tervan.rules，然后重新插上打印机。"
                  : "Hint: install the udev rule contrib/60-tervan.rules as the README says, then "
                    "plug the printer in again.";
    }
    if (!result.access.Known()) {
        return std::nullopt; // nothing known about who may open it
    }
    if (DialoutMayOpen(result.access)) {
        return zh ? "提示：把当前用户加入 dialout 组（sudo usermod -aG dialout "
                    "$USER），然后重新登录。"
                  : "Hint: add your user to the dialout group (sudo usermod -aG dialout $USER), "
                    "then log in again.";
    }
    const PortAccess& a = result.access;
    const std::string mode = ModeText(a.mode);
    return zh ? "提示：该端口属于用户 " + a.owner + "、组 " + a.group + "，权限 " + mode +
                    "；请系统管理员允许当前用户读写它。"
              : "Hint: the port belongs to user " + a.owner + " and group " + a.group + ", mode " +
                    mode +
                    "; ask the system's administrator to let your user read "
                    "and write it.";
#else
    static_cast<void>(result);
    static_cast<void>(usb);
    static_cast<void>(language);
    return std::nullopt;
#endif
}

} // namespace tervan
