#pragma once

#include "base/StopToken.h"
#include "form/DialogForm.h"
#include "form/Operations.h"

#include <functional>
#include <mutex>
#include <optional>

namespace tervan {

// The modal window a conversation runs under, on the worker: what is happening, a bar and Cancel.
// Cancel (or Esc, or the close box) only asks the conversation to stop; the window ends when the
// worker has, so the printer still leaves setup mode. While what it shows is not cancellable (a
// stopped download's blank rows), Cancel and Esc do nothing, and the close box abandons the
// conversation.
class ProgressForm : public DialogForm {
public:
    ProgressForm(StopToken& stop, ProgressView first, Language language);

    const DialogTemplate& Template() const override { return ProgressDialogTemplate(); }
    FormChanges Opening() override;
    FormChanges Dispatch(const Notification& notification) override;

    // How the window gets Update called soon on its user-interface thread; callable from any
    // thread. Set before the worker starts.
    void SetWake(std::function<void()> wake) { m_wake = std::move(wake); }
    // From the worker: a new state to show (the last one before the window looks wins), and the
    // end of the job.
    void Report(const ProgressView& view);
    void End();
    // On the user-interface thread, once woken: what to show since the last time.
    FormChanges Update();

private:
    FormChanges Show(const ProgressView& view);
    FormChanges Cancel();
    void Post(const std::function<void()>& change);

    StopToken& m_stop;
    Language m_language;
    // The user-interface thread's own.
    ProgressView m_view;
    bool m_stopping = false; // Cancel pressed: the text says so, unless there is more to tell
    std::function<void()> m_wake;
    // Handed over from the worker.
    std::mutex m_lock;
    std::optional<ProgressView> m_pending;
    bool m_ended = false;
    bool m_woken = false; // a wake is on its way: one at a time, however often the worker reports
};

} // namespace tervan
