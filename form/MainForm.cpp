#include "form/MainForm.h"

#include "base/FlagScope.h"
#include "bitmap/BitmapFile.h"
#include "bitmap/BitmapMessages.h"
#include "bitmap/BitmapTransfer.h"
#include "form/ControlIds.h"
#include "form/FormRules.h"
#include "form/Gather.h"
#include "form/LinkToggle.h"
#include "form/Operations.h"
#include "form/PreviewForm.h"
#include "form/ProfileForm.h"
#include "form/ProgressForm.h"
#include "form/WindowStrings.h"
#include "protocol/ApplySettings.h"
#include "protocol/LinkSession.h"

namespace tervan {

namespace {

// The notification that carries a change of a control of `kind`; Clicked for the kinds whose
// value nothing changes.
Notify ChangeOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::DropDownList:
        return Notify::SelChange;
    case ControlKind::CheckBox:
        return Notify::CheckChange;
    case ControlKind::Edit:
        return Notify::EditChange;
    default:
        return Notify::Clicked;
    }
}

ControlValue ValueOf(const ControlState& control) {
    switch (control.kind) {
    case ControlKind::DropDownList:
        return control.selection;
    case ControlKind::CheckBox:
        return control.checked;
    case ControlKind::Edit:
        return control.text;
    default:
        return {};
    }
}

} // namespace

// What a conversation's job gets: the link in use (watched for writes), its kind, the pause and
// stop of this run, and the progress window to report to.
struct MainForm::Worker {
    Link& link;
    bool isUsb;
    const PauseFn& pause;
    const StopToken& stop;
    ProgressForm& progress;
};

MainForm::MainForm(FormState state, FormWindow& window)
    : m_state(std::move(state)), m_window(window) {}

FormChanges MainForm::Opening() {
    FormChanges changes;
    for (const ControlState& control : m_state.controls) {
        ControlChange change{.id = control.id, .enabled = control.enabled};
        switch (control.kind) {
        case ControlKind::DropDownList:
            change.items = control.items;
            change.selection = control.selection;
            break;
        case ControlKind::CheckBox:
            change.checked = control.checked;
            break;
        case ControlKind::Edit:
            change.text = control.text;
            break;
        default:
            break;
        }
        changes.controls.push_back(std::move(change));
    }
    return changes;
}

FormChanges MainForm::Dispatch(const Notification& notification) {
    const int id = notification.id;
    switch (notification.kind) {
    case Notify::SelChange:
        return OnSelChange(m_state, id, std::get<int>(notification.value));
    case Notify::CheckChange:
        return OnClicked(m_state, id, std::get<bool>(notification.value));
    case Notify::EditChange:
        return OnEditChange(m_state, id, std::get<std::u16string>(notification.value));
    case Notify::Close:
        return End(Ctl::IdCancel);
    case Notify::Clicked:
        break;
    }
    switch (id) {
    case Ctl::IdOk:     // Enter
    case Ctl::IdCancel: // Esc
        return End(id);
    case Ctl::AboutBox:
        m_window.RunModal(m_about);
        return {};
    case Ctl::OpenClose:
        // An operation's link is the operation's until it closes it.
        return m_busy ? FormChanges{} : ToggleLink();
    case Ctl::Set:
        return RunOperation(&MainForm::RunApply);
    case Ctl::DownloadBitmap:
        return RunOperation(&MainForm::RunDownload);
    case Ctl::PrintBitmap:
        return RunOperation(&MainForm::RunPrint);
    case Ctl::SaveProfile:
        return SaveProfile();
    case Ctl::LoadProfile:
        return LoadProfile();
    default:
        return {};
    }
}

std::vector<MenuItem> MainForm::Menu() const {
    const struct {
        int id;
        WindowString text;
        std::string_view shortcut;
        bool startsGroup;
    } entries[] = {
        {Ctl::SaveProfile, WindowString::SaveProfileMenu, "Ctrl+S", true},
        {Ctl::LoadProfile, WindowString::LoadProfileMenu, "Ctrl+O", false},
        {Ctl::AboutBox, WindowString::AboutMenu, "F1", true},
    };
    std::vector<MenuItem> menu;
    for (const auto& entry : entries) {
        std::string text(LoadString(entry.text, UiLanguage()));
        if (!text.empty()) {
            menu.push_back({entry.id, std::move(text), entry.shortcut, entry.startsGroup});
        }
    }
    return menu;
}

FormChanges MainForm::EndWhenIdle() {
    m_endWhenIdle = true;
    return End(Ctl::IdCancel);
}

void MainForm::Abandon() {
    if (m_running != nullptr) {
        m_running->RequestAbandon();
    }
}

FormChanges MainForm::End(int result) const {
    // Enter, Esc and the close box end the dialog, and with it the program; not while an
    // operation holds the link.
    if (m_busy) {
        return {};
    }
    return {.end = result};
}

FormChanges MainForm::ToggleLink() {
    OpenResult result{OpenOutcome::Closed};
    if (m_links.IsConnected()) {
        m_links.Close();
    } else {
        result = OpenLink(m_links, ChoosePort(SelectedPort(m_state)), GatherLineSettings(m_state));
    }
    return ReportToggle(m_state, result, MainDialogTemplate().caption, UiLanguage());
}

bool MainForm::Open() {
    m_window.Apply(ToggleLink()); // a failure has been told when this returns
    return m_links.IsConnected();
}

void MainForm::Show(const std::optional<BoxMessage>& box) {
    if (box) {
        m_window.Apply({.boxes = {*box}});
    }
}

FormChanges MainForm::RunOperation(void (MainForm::*operation)()) {
    if (m_busy) {
        return {};
    }
    ReadMissedChanges();
    {
        const FlagScope busy(m_busy);
        (this->*operation)();
    }
    // An end asked for while the operation ran comes now that it is over.
    return m_endWhenIdle ? End(Ctl::IdCancel) : FormChanges{};
}

std::optional<std::filesystem::path> MainForm::ChooseProfile(bool save) {
    // A profile holds the port group and may name a port: it stands still only while no link is
    // open.
    if (m_busy || m_links.IsConnected()) {
        return std::nullopt;
    }
    ReadMissedChanges();
    const Language language = UiLanguage();
    const WindowString title = save ? WindowString::SaveProfileFile : WindowString::LoadProfileFile;
    const auto file =
        m_window.ChooseFile({std::string(LoadString(title, language)),
                             {{LoadString(WindowString::ProfileFilter, language), kProfilePattern}},
                             kProfileExtension,
                             save});
    return file ? std::optional(file->path) : std::nullopt;
}

FormChanges MainForm::SaveProfile() {
    const auto file = ChooseProfile(true);
    const auto refusal = file ? SaveFormProfile(m_state, *file, UiLanguage()) : std::nullopt;
    return refusal ? FormChanges{.boxes = {*refusal}} : FormChanges{};
}

FormChanges MainForm::LoadProfile() {
    const auto file = ChooseProfile(false);
    return file ? LoadFormProfile(m_state, *file, UiLanguage()) : FormChanges{};
}

void MainForm::ReadMissedChanges() {
    // A control can change without its notification: a drop-down closed with Esc after arrowing
    // through it, a check set by an assistive tool. Such a change reaches the rules now, as its
    // notification would have, before the operation reads the form.
    for (const ControlState& control : m_state.controls) {
        const Notify kind = ChangeOf(control.kind);
        if (kind == Notify::Clicked) {
            continue;
        }
        std::optional<ControlValue> now = m_window.ReadControl(control.id, kind);
        if (now && *now != ValueOf(control)) {
            m_window.Apply(Dispatch({control.id, kind, std::move(*now)}));
        }
    }
}

bool MainForm::RunOnWorker(const ProgressView& first, const std::function<void(Worker&)>& job) {
    StopToken stop;
    const PauseFn pause = m_makePause ? m_makePause(stop) : StoppablePause(stop);
    const bool usb = m_links.IsUsb();
    AttemptWatch link(m_links.ActivePort());
    const StopCheckScope stopCheck(m_links, stop);
    ProgressForm progress(stop, first, UiLanguage());
    m_running = &stop;
    m_window.RunWithProgress(progress, [&] {
        Worker worker{link, usb, pause, stop, progress};
        job(worker);
        progress.End();
    });
    m_running = nullptr;
    return link.Attempted();
}

void MainForm::RunApply() {
    const Language language = UiLanguage();
    // Read before anything opens; the form cannot change until the verdict has been shown.
    const PrinterSettings settings = GatherSettings(m_state);
    if (const auto refusal = RefusalBeforeOpening(settings, m_state.codePage, language)) {
        Show(refusal);
        return;
    }
    if (!Open()) {
        return;
    }
    ApplyOutcome outcome = ApplyOutcome::Stopped;
    const bool attempted = RunOnWorker(SettlingProgress(language), [&](Worker& worker) {
        if (!SettleAfterOpen(worker.pause, worker.stop)) {
            return;
        }
        outcome = ApplySettings(settings, m_state.codePage, worker.link, worker.isUsb, worker.pause,
                                worker.stop, [&](const ApplyProgress& progress) {
                                    worker.progress.Report(ApplyProgressView(progress, language));
                                });
    });
    Show(ApplyVerdict(outcome, attempted, language));
    m_window.Apply(ToggleLink());
}

void MainForm::RunDownload() {
    const Language language = UiLanguage();
    if (!Open()) {
        return;
    }
    const std::uint8_t slot = SelectedSlot(m_state);
    bool settled = false;
    RunOnWorker(SettlingProgress(language),
                [&](Worker& worker) { settled = SettleAfterOpen(worker.pause, worker.stop); });
    // The file is chosen while the link is open; leaving the chooser sends nothing. A BMP goes
    // to the printer as it stands; a picture is shown as it will print first.
    std::optional<ChosenFile> file;
    if (settled) {
        file = m_window.ChooseFile(
            {std::string(LoadString(WindowString::OpenBitmapFile, language)),
             {{kBitmapFilterName, kBitmapPattern}, {PictureFilterName(language), kPicturePatterns}},
             kBitmapExtension});
    }
    if (file && file->filter == 0) {
        Download(slot, [path = file->path] { return LoadBitmapFile(path); });
    } else if (file) {
        DownloadPicture(file->path, slot);
    }
    m_window.Apply(ToggleLink());
}

void MainForm::DownloadPicture(const std::filesystem::path& path, std::uint8_t slot) {
    const Language language = UiLanguage();
    // Decoding a photo takes a while: under the progress window, whose Cancel gives the picture
    // up. Nothing goes to the printer before OK.
    PictureResult picture;
    bool stopped = false;
    RunOnWorker({.text = ReadingPictureText(language)}, [&](Worker& worker) {
        picture = LoadPictureFile(path);
        stopped = worker.stop.StopRequested();
    });
    if (stopped) {
        return;
    }
    if (picture.outcome != PictureOutcome::Decoded) {
        Show(BoxMessage{PictureMessage(picture, language),
                        std::string(LoadString(StringId::Tip, language))});
        return;
    }
    PreviewForm preview(picture.picture, slot, language);
    m_window.RunModal(preview);
    if (const std::shared_ptr<const LogoDots>& dots = preview.Accepted()) {
        Download(slot, [rows = dots->rows] { return LoadResult(rows); });
    }
}

void MainForm::Download(std::uint8_t slot, const std::function<LoadResult()>& load) {
    const Language language = UiLanguage();
    DownloadResult result;
    const bool attempted = RunOnWorker(DownloadProgressView({}, language), [&](Worker& worker) {
        result =
            DownloadBitmap(worker.link, slot, load(), worker.pause, worker.stop,
                           [&](const DownloadProgress& progress) {
                               worker.progress.Report(DownloadProgressView(progress, language));
                           });
    });
    Show(DownloadVerdict(result, attempted, language));
}

void MainForm::RunPrint() {
    if (!Open()) {
        return;
    }
    const std::uint8_t slot = SelectedSlot(m_state);
    // Nothing to report, whatever happened: the printer prints or it does not.
    RunOnWorker(SettlingProgress(UiLanguage()), [&](Worker& worker) {
        if (SettleAfterOpen(worker.pause, worker.stop)) {
            PrintBitmap(worker.link, slot, worker.stop);
        }
    });
    m_window.Apply(ToggleLink());
}

} // namespace tervan
