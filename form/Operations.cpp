#include "form/Operations.h"

#include "bitmap/BitmapMessages.h"
#include "protocol/InputCheck.h"

namespace tervan {

namespace {

std::string Text(StringId id, Language language) {
    return std::string(LoadString(id, language));
}

std::string Number(std::size_t n) {
    return std::to_string(n);
}

// A verdict's text; when the printer vanished, a second line says so.
std::string VerdictWithCause(std::string text, bool gone, Language language) {
    if (gone) {
        text += '\n';
        text += LoadString(StringId::PrinterGone, language);
    }
    return text;
}

} // namespace

std::optional<BoxMessage> RefusalBeforeOpening(const PrinterSettings& settings,
                                               const AnsiCodePage& codePage, Language language) {
    const auto problem = CheckSettings(settings, codePage, InputRules::Window);
    if (!problem) {
        return std::nullopt;
    }
    std::string text = ProblemText(*problem, NameOf(problem->setting).label, language);
    if (text.empty()) {
        text = Text(StringId::SetFailed, language);
    }
    return BoxMessage{std::move(text), Text(StringId::Error, language)};
}

std::optional<BoxMessage> ApplyVerdict(ApplyOutcome outcome, bool attempted, Language language) {
    if (outcome == ApplyOutcome::Stopped && !attempted) {
        return std::nullopt;
    }
    return BoxMessage{VerdictWithCause(Text(VerdictText(outcome), language),
                                       outcome == ApplyOutcome::DeviceGone, language),
                      Text(VerdictCaption(outcome), language)};
}

std::optional<BoxMessage> DownloadVerdict(const DownloadResult& result, bool attempted,
                                          Language language) {
    if (result.outcome == DownloadOutcome::Stopped && !attempted) {
        return std::nullopt;
    }
    return BoxMessage{VerdictWithCause(DownloadText(result, language),
                                       result.outcome == DownloadOutcome::DeviceGone, language),
                      Text(StringId::Tip, language)};
}

ProgressView SettlingProgress(Language language) {
    return {language == Language::Chinese ? "正在连接打印机…" : "Connecting to the printer…", 0, 0};
}

ProgressView ApplyProgressView(const ApplyProgress& progress, Language language) {
    const bool zh = language == Language::Chinese;
    const std::string k = Number(static_cast<std::size_t>(progress.step));
    const std::string n = Number(static_cast<std::size_t>(progress.total));
    if (progress.phase == ApplyPhase::WaitingForOk) {
        return {zh ? "正在等待打印机回应“OK”（第 " + k + " 次，共 " + n + " 次）"
                   : "Waiting for the printer's \"OK\" (attempt " + k + " of " + n + ")",
                progress.step, progress.total};
    }
    if (progress.total == 0) {
        return {zh ? "没有要发送的设置" : "No settings to send", 1, 1};
    }
    return {zh ? "正在发送设置：已发送 " + k + " 条，共 " + n + " 条"
               : "Sending the settings: " + k + " of " + n + " commands sent",
            progress.step, progress.total};
}

ProgressView DownloadProgressView(const DownloadProgress& progress, Language language) {
    const int value = static_cast<int>(progress.rowsTaken);
    const int maximum = static_cast<int>(progress.rowsTotal);
    if (progress.filling) {
        // The printer needs every promised byte to leave setup mode: no Cancel now.
        return {FillingText(progress, language), value, maximum, false};
    }
    const std::string r = Number(progress.rowsTaken);
    const std::string n = Number(progress.rowsTotal);
    return {language == Language::Chinese
                ? "正在下载位图：已发送 " + r + " 行，共 " + n + " 行"
                : "Downloading the bitmap: " + r + " of " + n + " rows sent",
            value, maximum};
}

std::string CancelText(Language language) {
    return language == Language::Chinese ? "取消" : "Cancel";
}

std::string StoppingText(Language language) {
    return language == Language::Chinese ? "正在停止，请稍候…" : "Stopping, please wait…";
}

} // namespace tervan
