#pragma once

#include <string>
#include <variant>

namespace tervan {

// The kinds of change a window reports. A state change is reported however it came about: a
// click, a key, a screen reader's action or a program.
enum class Notify {
    Clicked,     // a push button was pressed, or a command of the window's menu chosen
    CheckChange, // a check box's state changed
    SelChange,   // a list's selection changed
    EditChange,  // an edit's text changed
    Close,       // the window's close box (control Ctl::Dialog)
};

// The control's new value: none for a click or a close, the state of a check box, the index of a
// list's selection (-1 for none), the text of an edit.
using ControlValue = std::variant<std::monostate, bool, int, std::u16string>;

// Every notification of every control, as a window hands it to its form.
struct Notification {
    int id = 0;
    Notify kind = Notify::Clicked;
    ControlValue value;
};

} // namespace tervan
