#include "form/OperationFlow.h"

#include "bitmap/BitmapFile.h"
#include "bitmap/BitmapTransfer.h"
#include "form/Gather.h"
#include "protocol/ApplySettings.h"
#include "protocol/LinkSession.h"

namespace tervan {

namespace {

// What a conversation's job gets: the link in use (watched for writes), its kind, the pause and
// stop of this run, and the way to the progress window.
struct Worker {
    Link& link;
    bool isUsb;
    const PauseFn& pause;
    const StopToken& stop;
    const ProgressReport& report;
};

// Marks the window busy for as long as it lives.
class BusyScope {
public:
    explicit BusyScope(OperationWindow& window) : m_window(window) { m_window.SetBusy(true); }
    ~BusyScope() { m_window.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    OperationWindow& m_window;
};

// A write that waits on a printer which takes nothing gives up soon after a Cancel.
class StopCheckScope {
public:
    StopCheckScope(PrinterLinks& links, const StopToken& stop) : m_links(links) {
        m_links.SetStopCheck([&stop] { return stop.WaitsEnd(); });
    }
    ~StopCheckScope() { m_links.SetStopCheck({}); }
    StopCheckScope(const StopCheckScope&) = delete;
    StopCheckScope& operator=(const StopCheckScope&) = delete;

private:
    PrinterLinks& m_links;
};

// Runs `job` over the open link on the window's worker; true when the job wrote anything to the
// printer.
bool RunOnWorker(OperationWindow& window, const ProgressView& first,
                 const std::function<void(Worker&)>& job) {
    StopToken stop;
    const PauseFn pause = window.MakePause(stop);
    PrinterLinks& links = window.Links();
    const bool usb = links.IsUsb();
    AttemptWatch link(links.ActivePort());
    const StopCheckScope stopCheck(links, stop);
    window.RunWithProgress(first, stop, [&](const ProgressReport& report) {
        Worker worker{link, usb, pause, stop, report};
        job(worker);
    });
    return link.Attempted();
}

} // namespace

void RunApply(const FormState& form, OperationWindow& window) {
    if (window.Busy()) {
        return;
    }
    const Language language = UiLanguage();
    // Read before anything opens; the form cannot change until the verdict has been shown.
    const PrinterSettings settings = GatherSettings(form);
    if (const auto refusal = RefusalBeforeOpening(settings, form.codePage, language)) {
        window.Show(*refusal);
        return;
    }
    const BusyScope busy(window);
    window.ClickOpenClose();
    if (!window.IsConnected()) {
        return; // the toggle has told the user
    }
    ApplyOutcome outcome = ApplyOutcome::Stopped;
    const bool attempted = RunOnWorker(window, SettlingProgress(language), [&](Worker& worker) {
        if (!SettleAfterOpen(worker.pause, worker.stop)) {
            return;
        }
        outcome = ApplySettings(settings, form.codePage, worker.link, worker.isUsb, worker.pause,
                                worker.stop, [&](const ApplyProgress& progress) {
                                    worker.report(ApplyProgressView(progress, language));
                                });
    });
    if (const auto verdict = ApplyVerdict(outcome, attempted, language)) {
        window.Show(*verdict);
    }
    window.ClickOpenClose();
}

void RunDownload(const FormState& form, OperationWindow& window) {
    if (window.Busy()) {
        return;
    }
    const Language language = UiLanguage();
    const BusyScope busy(window);
    window.ClickOpenClose();
    if (!window.IsConnected()) {
        return;
    }
    const std::uint8_t slot = SelectedSlot(form);
    bool settled = false;
    RunOnWorker(window, SettlingProgress(language),
                [&](Worker& worker) { settled = SettleAfterOpen(worker.pause, worker.stop); });
    // The file is chosen while the link is open; leaving the chooser sends nothing.
    std::optional<std::filesystem::path> file;
    if (settled) {
        file = window.ChooseBitmapFile(language);
    }
    if (file) {
        DownloadResult result;
        const bool attempted =
            RunOnWorker(window, DownloadProgressView({}, language), [&](Worker& worker) {
                const LoadResult load = LoadBitmapFile(*file);
                result = DownloadBitmap(worker.link, slot, load, worker.pause, worker.stop,
                                        [&](const DownloadProgress& progress) {
                                            worker.report(DownloadProgressView(progress, language));
                                        });
            });
        if (const auto verdict = DownloadVerdict(result, attempted, language)) {
            window.Show(*verdict);
        }
    }
    window.ClickOpenClose();
}

void RunPrint(const FormState& form, OperationWindow& window) {
    if (window.Busy()) {
        return;
    }
    const BusyScope busy(window);
    window.ClickOpenClose();
    if (!window.IsConnected()) {
        return;
    }
    const std::uint8_t slot = SelectedSlot(form);
    // Nothing to report, whatever happened: the printer prints or it does not.
    RunOnWorker(window, SettlingProgress(UiLanguage()), [&](Worker& worker) {
        if (SettleAfterOpen(worker.pause, worker.stop)) {
            PrintBitmap(worker.link, slot, worker.stop);
        }
    });
    window.ClickOpenClose();
}

} // namespace tervan
