#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "bitmap/BitmapFile.h"
#include "form/DialogForm.h"
#include "form/FormState.h"
#include "form/FormWindow.h"
#include "link/PrinterLinks.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tervan {

struct ProgressView;

// An item of the window's menu; choosing it comes back as a click of `id`.
struct MenuItem {
    int id = 0;
    std::string text;          // UTF-8, with its "&" mnemonic
    std::string_view shortcut; // a key a window may bind to it, by its name ("F1")
    bool startsGroup = false;  // a separator comes before it
};

// The main dialog as both windows show it: the form's state and rules, the link, and the three
// operations (apply, download, print) from the click of their button to the closing of the link.
// Every notification comes in through Dispatch and what it changes comes back; while an operation
// runs, what it shows goes to the window as it happens. The hidden button 1006 toggles the link
// when clicked; the operations toggle it themselves.
class MainForm : public DialogForm {
public:
    MainForm(FormState state, FormWindow& window);

    const DialogTemplate& Template() const override { return MainDialogTemplate(); }
    FormChanges Opening() override;
    FormChanges Dispatch(const Notification& notification) override;

    std::vector<MenuItem> Menu() const;

    const FormState& State() const { return m_state; }
    bool Connected() const { return m_links.IsConnected(); }

    // Ends the dialog at once when no operation runs, else as soon as the running one has closed
    // the link.
    FormChanges EndWhenIdle();
    // Gives up the running conversation at once, even the blank rows a stopped download owes the
    // printer (which then stays in setup mode); nothing when none runs.
    void Abandon();

    // The pause of every conversation; by default a real one that a stop cuts short. Tests record
    // the pauses instead of sleeping them. Made on the user-interface thread, used on the worker's.
    using PauseMaker = std::function<PauseFn(const StopToken& stop)>;
    void SetPauseMaker(PauseMaker maker) { m_makePause = std::move(maker); }

private:
    struct Worker;

    FormChanges End(int result) const;
    FormChanges ToggleLink();
    bool Open();
    void Show(const std::optional<BoxMessage>& box);
    FormChanges RunOperation(void (MainForm::*operation)());
    void ReadMissedChanges();
    void RunApply();
    void RunDownload();
    void DownloadPicture(const std::filesystem::path& path, std::uint8_t slot);
    // Loads on the worker and stores what it loaded in `slot`, under the progress window.
    void Download(std::uint8_t slot, const std::function<LoadResult()>& load);
    void RunPrint();
    std::optional<std::filesystem::path> ChooseProfile(bool save);
    FormChanges SaveProfile();
    FormChanges LoadProfile();
    bool RunOnWorker(const ProgressView& first, const std::function<void(Worker&)>& job);

    FormState m_state;
    FormWindow& m_window;
    PrinterLinks m_links;
    AboutForm m_about;
    PauseMaker m_makePause;
    bool m_busy = false; // an operation runs, from its opening of the link to its closing
    bool m_endWhenIdle = false;
    StopToken* m_running = nullptr; // the stop of the conversation on the worker, while one runs
};

} // namespace tervan
