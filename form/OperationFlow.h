#pragma once

#include "base/Pause.h"
#include "base/StopToken.h"
#include "form/BoxMessage.h"
#include "form/FormState.h"
#include "form/Operations.h"
#include "link/PrinterLinks.h"
#include "protocol/Strings.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

// The three operations of the form (apply, download, print) from the click of their button to the
// closing of the link: the order of the clicks of 1006, the worker runs and the boxes is decided
// here once; a window supplies only what its toolkit draws.
namespace tervan {

// The file chooser of a download: one filter entry, shown the same in every language.
inline constexpr std::string_view kBitmapFilterName = "位图文件(*.bmp)";
inline constexpr std::string_view kBitmapPattern = "*.bmp";
inline constexpr std::string_view kBitmapExtension = "bmp";

// Shows one state of the progress window; callable from the worker thread.
using ProgressReport = std::function<void(const ProgressView&)>;

// What an operation asks of the window it runs in. Called on the user-interface thread only.
class OperationWindow {
public:
    virtual ~OperationWindow() = default;

    // From the operation's first click of 1006 to its last; no second operation starts meanwhile.
    virtual bool Busy() const = 0;
    virtual void SetBusy(bool busy) = 0;

    // A click of the hidden button 1006 by program: ToggleLink has run, boxes included, when this
    // returns.
    virtual void ClickOpenClose() = 0;
    virtual bool IsConnected() const = 0;
    virtual PrinterLinks& Links() = 0;
    // The pause of every conversation, woken by `stop`. Called on the user-interface thread, used
    // on the worker's.
    virtual PauseFn MakePause(const StopToken& stop) { return StoppablePause(stop); }

    // Runs `job` on a worker thread under a modal progress window that shows `first`, then what
    // the job reports. The window's Cancel trips `stop`; closing the window while what it shows is
    // not cancellable abandons the job (before then, closing is a Cancel). Returns once the worker
    // has been joined; the link belongs to the worker meanwhile.
    virtual void RunWithProgress(const ProgressView& first, StopToken& stop,
                                 const std::function<void(const ProgressReport&)>& job) = 0;

    virtual void Show(const BoxMessage& message) = 0;
    // The bitmap file to download; none when the user leaves the chooser.
    virtual std::optional<std::filesystem::path> ChooseBitmapFile(Language language) = 0;
};

// What the buttons 1007 (设置), 1043 (下载位图) and 1051 (打印位图) run. `form` is the window's
// own state, read as the clicks of 1006 leave it.
void RunApply(const FormState& form, OperationWindow& window);
void RunDownload(const FormState& form, OperationWindow& window);
void RunPrint(const FormState& form, OperationWindow& window);

} // namespace tervan
