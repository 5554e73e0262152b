#include "form/LinkToggle.h"
#include "form/ControlIds.h"
#include "form/Operations.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

FormState UsbForm() {
    FormState form = InitialFormState({"USB", "/dev/ttyS0"}, AnsiCodePage{"CP936"});
    OnSelChange(form, Ctl::PortList, 0);
    return form;
}

TEST(LinkToggle, BoxesTitleAndPortControlsPerOutcome) {
    struct Case {
        const char* name;
        OpenResult result;
        std::vector<BoxMessage> messages;
        std::optional<std::string> title;
        std::optional<std::string> caption; // of 1006 when it changes
        bool portControlsEnabled;
    };
    const BoxMessage general{"端口打开失败，请检测", "失败"};
    const Case cases[] = {
        {"opened", {OpenOutcome::Opened}, {}, "Tervan_连接成功", "关闭", false},
        {"closed", {OpenOutcome::Closed}, {}, "Tervan_连接关闭", "打开", true},
        {"settings refused",
         {OpenOutcome::SettingsRefused, OpenCause::SettingsRefused},
         {general},
         "Tervan_连接失败",
         std::nullopt,
         false},
        {"USB printer not permitted",
         {OpenOutcome::UsbOpenFailed, OpenCause::PermissionDenied},
         {{"端口打开失败，请检测\n提示：按 README 安装 udev 规则 contrib/60-tervan.rules，"
           "然后重新插上打印机。",
           "失败"}},
         "Tervan_连接失败",
         std::nullopt,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The USB form has the serial lists disabled: only a close enables them.
        FormState form = UsbForm();
        const FormChanges report = ReportToggle(form, c.result, "Tervan", Language::Chinese);
        EXPECT_EQ(report.boxes, c.messages);
        EXPECT_EQ(report.title, c.title);
        EXPECT_EQ(form.At(Ctl::OpenClose).caption, c.caption.value_or("打开"));
        for (int id : {Ctl::BaudRate, Ctl::Parity, Ctl::DataBits, Ctl::FlowControl}) {
            EXPECT_EQ(form.At(id).enabled, c.portControlsEnabled);
        }
    }
}

TEST(Operations, Verdicts) {
    const BoxMessage setFailed{"设置失败，请检测", "失败"};
    EXPECT_EQ(ApplyVerdict(ApplyOutcome::NoReply, true, Language::Chinese), setFailed);
    EXPECT_EQ(DownloadVerdict({DownloadOutcome::Stopped, StringId::DownloadFailed}, true,
                              Language::Chinese),
              (BoxMessage{"下载位图失败", "提示"}));
    EXPECT_EQ(DownloadVerdict({DownloadOutcome::Stopped, StringId::DownloadFailed}, false,
                              Language::Chinese),
              std::nullopt);
    EXPECT_EQ(DownloadVerdict({DownloadOutcome::FileNotOpened, StringId::FileReadFailure}, false,
                              Language::Chinese),
              (BoxMessage{"读取文件失败", "提示"}));
    // A vanished printer is named under the verdict.
    EXPECT_EQ(ApplyVerdict(ApplyOutcome::DeviceGone, true, Language::Chinese),
              (BoxMessage{"设置失败，请检测\n打印机已断开连接（USB 0483:5720），请检查连接后重试",
                          "失败"}));
    EXPECT_EQ(DownloadVerdict({DownloadOutcome::DeviceGone, StringId::DownloadFailed}, true,
                              Language::English),
              (BoxMessage{"Download bitmap failed\nThe printer was disconnected (USB 0483:5720), "
                          "please check the connection and try again",
                          "Tip"}));
    EXPECT_EQ(DownloadVerdict({DownloadOutcome::Stopped, StringId::DownloadStopped, 3}, true,
                              Language::Chinese),
              (BoxMessage{"下载已停止：位图槽 3 只存入了部分位图", "提示"}));
    EXPECT_EQ(DownloadVerdict({DownloadOutcome::Stopped, StringId::DownloadStopped, 3}, true,
                              Language::English),
              (BoxMessage{"Download stopped: slot 3 holds only part of the bitmap", "Tip"}));
    EXPECT_EQ(
        DownloadVerdict({DownloadOutcome::Abandoned, StringId::StillInSetupMode, 3}, true,
                        Language::English),
        (BoxMessage{"The printer is still in setup mode: switch it off and on again", "Tip"}));
}

// While a stopped download's blank rows go out, the window says so and how long they take, and
// offers no Cancel.
TEST(Operations, FillingProgress) {
    using std::chrono::seconds;
    const struct {
        std::optional<seconds> left;
        Language language;
        const char* text;
    } cases[] = {
        {seconds{40}, Language::Chinese, "正在用空白行补齐位图，约 40 秒"},
        {seconds{40}, Language::English,
         "Filling the rest of the bitmap with blank rows, about 40 s"},
        {seconds{68}, Language::English,
         "Filling the rest of the bitmap with blank rows, about 68 s"},
        {seconds{540}, Language::Chinese, "正在用空白行补齐位图，约 9 分钟"},
        {seconds{540}, Language::English,
         "Filling the rest of the bitmap with blank rows, about 9 min"},
        {std::nullopt, Language::Chinese, "正在用空白行补齐位图…"},
    };
    for (const auto& c : cases) {
        const DownloadProgress progress{
            .rowsTaken = 336, .rowsTotal = 900, .filling = true, .timeLeft = c.left};
        EXPECT_EQ(DownloadProgressView(progress, c.language),
                  (ProgressView{c.text, 336, 900, false}));
    }
    EXPECT_TRUE(DownloadProgressView({}, Language::Chinese).cancellable);
}

} // namespace
} // namespace tervan
