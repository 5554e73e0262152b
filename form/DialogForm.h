#pragma once

#include "form/ControlIds.h"
#include "form/DialogTemplate.h"
#include "form/FormChanges.h"
#include "form/Notification.h"

#include <functional>

// A dialog as both windows show it. A window draws the template, hands the form every
// notification of its controls, and applies what comes back with one function; it decides
// nothing about the dialog itself.
namespace tervan {

class DialogForm {
public:
    virtual ~DialogForm() = default;

    virtual const DialogTemplate& Template() const = 0;
    // What the window shows once it has drawn the template.
    virtual FormChanges Opening() = 0;
    virtual FormChanges Dispatch(const Notification& notification) = 0;

    // A form that finishes work on a thread of its own: the window gives it, before Opening, a
    // way to have Refresh called soon on the user-interface thread, callable from any thread; and
    // takes it back (an empty function) before the window goes.
    virtual void SetRefresh(std::function<void()> /*refresh*/) {}
    virtual FormChanges Refresh() { return {}; }
};

// The about box: 确定, Enter, Esc and the close box end it.
class AboutForm : public DialogForm {
public:
    const DialogTemplate& Template() const override { return AboutDialogTemplate(); }
    FormChanges Opening() override { return {}; }
    FormChanges Dispatch(const Notification& notification) override {
        const bool button = notification.kind == Notify::Clicked &&
                            (notification.id == Ctl::IdOk || notification.id == Ctl::IdCancel);
        if (!button && notification.kind != Notify::Close) {
            return {};
        }
        return {.end = button ? notification.id : Ctl::IdCancel};
    }
};

} // namespace tervan
