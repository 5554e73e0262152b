#include "protocol/LinkMessages.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

void ExpectHint(bool usb, PortAccess access, Language language,
                const std::optional<std::string>& hint) {
    OpenResult result{usb ? OpenOutcome::UsbOpenFailed : OpenOutcome::SerialOpenFailed,
                      OpenCause::PermissionDenied, 13, access};
    EXPECT_EQ(OpenFailureHint(result, usb, language), hint) << access.group;
    // A port that is not there has no remedy of this kind.
    result.cause = OpenCause::NotFound;
    EXPECT_EQ(OpenFailureHint(result, usb, language), std::nullopt);
}

// The remedy for a port the user may not open follows who may open it.
TEST(LinkMessages, PermissionHintPerOwnerAndGroup) {
    const std::string askAdmin = "; ask the system's administrator to let your user read and "
                                 "write it.";
    ExpectHint(false, {"root", "dialout", 0660}, Language::Chinese,
               "提示：把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。");
    ExpectHint(false, {"root", "root", 0600}, Language::Chinese,
               "提示：该端口属于用户 root、组 root，权限 0600 "
               "(rw-------)；请系统管理员允许当前用户读写它。");
    ExpectHint(false, {"root", "dialout", 0640}, Language::English,
               "Hint: the port belongs to user root and group dialout, mode 0640 (rw-r-----)" +
                   askAdmin);
    ExpectHint(false, {"lp", "uucp", 0660}, Language::English,
               "Hint: the port belongs to user lp and group uucp, mode 0660 (rw-rw----)" +
                   askAdmin);
    ExpectHint(false, {}, Language::Chinese, std::nullopt); // owner unknown
    ExpectHint(true, {}, Language::Chinese,
               "提示：按 README 安装 udev 规则 contrib/60-tervan.rules，然后重新插上打印机。");
}

} // namespace
} // namespace tervan
