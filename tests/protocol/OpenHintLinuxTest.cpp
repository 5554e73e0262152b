#include "protocol/LinkMessages.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

// The remedy for a port the user may not open follows who may open it.
TEST(LinkMessages, PermissionHintPerOwnerAndGroup) {
    const std::string dialout =
        "提示：把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），然后重新登录。";
    const struct {
        const char* name;
        bool usb;
        PortAccess access;
        Language language;
        std::optional<std::string> hint;
    } cases[] = {
        {"dialout may read and write",
         false,
         {"root", "dialout", 0660},
         Language::Chinese,
         dialout},
        {"root's alone",
         false,
         {"root", "root", 0600},
         Language::Chinese,
         "提示：该端口属于用户 root、组 root，权限 0600 "
         "(rw-------)；请系统管理员允许当前用户读写它。"},
        {"dialout may not write",
         false,
         {"root", "dialout", 0640},
         Language::English,
         "Hint: the port belongs to user root and group dialout, mode 0640 (rw-r-----); ask the "
         "system's administrator to let your user read and write it."},
        {"another group",
         false,
         {"lp", "uucp", 0660},
         Language::English,
         "Hint: the port belongs to user lp and group uucp, mode 0660 (rw-rw----); ask the "
         "system's administrator to let your user read and write it."},
        {"owner unknown", false, {}, Language::Chinese, std::nullopt},
        {"USB",
         true,
         {},
         Language::Chinese,
         "提示：按 README 安装 udev 规则 contrib/60-tervan.rules，然后重新插上打印机。"},
    };
    for (const auto& c : cases) {
        OpenResult result{c.usb ? OpenOutcome::UsbOpenFailed : OpenOutcome::SerialOpenFailed,
                          OpenCause::PermissionDenied, 13, c.access};
        EXPECT_EQ(OpenFailureHint(result, c.usb, c.language), c.hint) << c.name;
        // A port that is not there has no remedy of this kind.
        result.cause = OpenCause::NotFound;
        EXPECT_EQ(OpenFailureHint(result, c.usb, c.language), std::nullopt) << c.name;
    }
}

} // namespace
} // namespace tervan
