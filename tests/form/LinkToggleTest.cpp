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

// The USB form has the serial lists disabled: only a close enables them. An open link locks the
// port list too, and 1006 closes it.
void ExpectToggle(const OpenResult& result, const std::vector<BoxMessage>& boxes,
                  const std::optional<std::string>& title, const char* caption, bool listsEnabled) {
    FormState form = UsbForm();
    const FormChanges report = ReportToggle(form, result, "Tervan", Language::Chinese);
    EXPECT_EQ(report.boxes, boxes);
    EXPECT_EQ(report.title, title);
    EXPECT_EQ(form.At(Ctl::OpenClose).caption, caption);
    EXPECT_EQ(form.At(Ctl::PortList).enabled, result.outcome != OpenOutcome::Opened);
    for (int id : {Ctl::BaudRate, Ctl::Parity, Ctl::DataBits, Ctl::FlowControl}) {
        EXPECT_EQ(form.At(id).enabled, listsEnabled) << title.value_or("");
    }
}

TEST(LinkToggle, BoxesTitleAndPortControlsPerOutcome) {
    ExpectToggle({OpenOutcome::Opened}, {}, "Tervan_连接成功", "关闭", false);
    ExpectToggle({OpenOutcome::Closed}, {}, "Tervan_连接关闭", "打开", true);
    ExpectToggle({OpenOutcome::SettingsRefused, OpenCause::SettingsRefused},
                 {{"端口打开失败，请检测", "失败"}}, "Tervan_连接失败", "打开", false);
    ExpectToggle({OpenOutcome::UsbOpenFailed, OpenCause::PermissionDenied},
                 {{"端口打开失败，请检测\n提示：按 README 安装 udev 规则 contrib/60-tervan.rules，"
                   "然后重新插上打印机。",
                   "失败"}},
                 "Tervan_连接失败", "打开", false);
}

// The box after a download, or none; its caption is 提示 or Tip.
void ExpectDownloadBox(DownloadResult result, bool attempted, Language language,
                       const std::optional<std::string>& text) {
    const auto box = DownloadVerdict(result, attempted, language);
    ASSERT_EQ(box.has_value(), text.has_value()) << text.value_or("");
    if (box) {
        EXPECT_EQ(*box, (BoxMessage{*text, language == Language::Chinese ? "提示" : "Tip"}));
    }
}

TEST(Operations, Verdicts) {
    using enum DownloadOutcome;
    const auto zh = Language::Chinese;
    const auto en = Language::English;
    EXPECT_EQ(ApplyVerdict(ApplyOutcome::NoReply, true, zh),
              (BoxMessage{"设置失败，请检测", "失败"}));
    // A vanished printer is named under the verdict.
    EXPECT_EQ(ApplyVerdict(ApplyOutcome::DeviceGone, true, zh),
              (BoxMessage{"设置失败，请检测\n打印机已断开连接（USB 0483:5720），请检查连接后重试",
                          "失败"}));
    ExpectDownloadBox({Stopped, StringId::DownloadFailed}, true, zh, "下载位图失败");
    ExpectDownloadBox({Stopped, StringId::DownloadFailed}, false, zh, std::nullopt);
    ExpectDownloadBox({FileNotOpened, StringId::FileReadFailure}, false, zh, "读取文件失败");
    ExpectDownloadBox({DeviceGone, StringId::DownloadFailed}, true, en,
                      "Download bitmap failed\nThe printer was disconnected (USB 0483:5720), "
                      "please check the connection and try again");
    ExpectDownloadBox({Stopped, StringId::DownloadStopped, 3}, true, zh,
                      "下载已停止：位图槽 3 只存入了部分位图");
    ExpectDownloadBox({Stopped, StringId::DownloadStopped, 3}, true, en,
                      "Download stopped: slot 3 holds only part of the bitmap");
    ExpectDownloadBox({Abandoned, StringId::StillInSetupMode, 3}, true, en,
                      "The printer is still in setup mode: switch it off and on again");
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
