#include "protocol/LinkMessages.h"

#include <cstdio>

namespace tervan {

namespace {

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

} // namespace

std::optional<std::string> OpenFailureHint(const OpenResult& result, bool usb, Language language) {
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
}

} // namespace tervan
