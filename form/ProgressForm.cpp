#include "form/ProgressForm.h"

#include "form/ControlIds.h"

#include <utility>

namespace tervan {

ProgressForm::ProgressForm(StopToken& stop, ProgressView first, Language language)
    : m_stop(stop), m_language(language), m_view(std::move(first)) {}

FormChanges ProgressForm::Opening() {
    FormChanges changes = Show(m_view);
    changes.controls.push_back({.id = Ctl::IdCancel, .caption = CancelText(m_language)});
    const std::lock_guard lock(m_lock);
    if (m_ended) {
        changes.end = Ctl::IdOk; // the job ended before the window appeared: it never does
    }
    return changes;
}

FormChanges ProgressForm::Dispatch(const Notification& notification) {
    if (notification.kind == Notify::Clicked && notification.id == Ctl::IdCancel) {
        return Cancel();
    }
    if (notification.kind == Notify::Close) {
        if (m_view.cancellable) {
            return Cancel();
        }
        m_stop.RequestAbandon();
    }
    return {};
}

void ProgressForm::Post(const std::function<void()>& change) {
    bool wake = false;
    {
        const std::lock_guard lock(m_lock);
        change();
        wake = !std::exchange(m_woken, true);
    }
    if (wake && m_wake) {
        m_wake();
    }
}

void ProgressForm::Report(const ProgressView& view) {
    Post([&] { m_pending = view; });
}

void ProgressForm::End() {
    Post([&] { m_ended = true; });
}

FormChanges ProgressForm::Update() {
    std::optional<ProgressView> view;
    bool ended = false;
    {
        const std::lock_guard lock(m_lock);
        view.swap(m_pending);
        ended = m_ended;
        m_woken = false;
    }
    FormChanges changes = view ? Show(*view) : FormChanges{};
    if (ended) {
        changes.end = Ctl::IdOk;
    }
    return changes;
}

FormChanges ProgressForm::Show(const ProgressView& view) {
    m_view = view;
    FormChanges changes;
    if (!m_stopping || !view.cancellable) {
        changes.controls.push_back({.id = Ctl::ProgressText, .caption = view.text});
    }
    changes.controls.push_back(
        {.id = Ctl::ProgressBar, .progress = ProgressRange{view.value, view.maximum}});
    changes.controls.push_back({.id = Ctl::IdCancel, .enabled = view.cancellable && !m_stopping});
    return changes;
}

FormChanges ProgressForm::Cancel() {
    if (!m_view.cancellable || m_stopping) {
        return {};
    }
    m_stopping = true;
    m_stop.RequestStop();
    // The conversation still ends properly (setup mode is left); the window waits for that.
    FormChanges changes;
    changes.controls.push_back({.id = Ctl::IdCancel, .enabled = false});
    changes.controls.push_back({.id = Ctl::ProgressText, .caption = StoppingText(m_language)});
    return changes;
}

} // namespace tervan
