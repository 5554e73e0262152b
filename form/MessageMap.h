#pragma once

#include "form/ControlIds.h"

#include <array>
#include <cstddef>

namespace tervan {

// The notifications a handler of the main dialog can be bound to. A state change is reported
// however it came about: a click, a key, a screen reader's action or a program.
enum class Notify {
    Clicked,     // a push button was pressed
    CheckChange, // a check box's state changed
    SelChange,   // a list's selection changed
    EditChange,  // an edit's text changed
};

template <class Dialog> struct MessageMapEntry {
    Notify notify;
    int id;
    void (Dialog::*handler)(int id);
};

inline constexpr std::size_t kMessageMapSize = 16;
template <class Dialog> using MessageMap = std::array<MessageMapEntry<Dialog>, kMessageMapSize>;

// Which handler each notification of each control reaches, once for both windows. `Dialog` names
// its handlers alike and befriends this function.
template <class Dialog> constexpr MessageMap<Dialog> MessageMapOf() {
    return {{
        {Notify::Clicked, Ctl::OpenClose, &Dialog::ToggleLink},
        {Notify::Clicked, Ctl::Set, &Dialog::ApplySettings},
        {Notify::CheckChange, Ctl::ManufacturerCheck, &Dialog::OnModifyChange},
        {Notify::CheckChange, Ctl::ModelCheck, &Dialog::OnModifyChange},
        {Notify::CheckChange, Ctl::SerialNumberCheck, &Dialog::OnModifyChange},
        {Notify::CheckChange, Ctl::SerialFormatCheck, &Dialog::OnModifyChange},
        {Notify::CheckChange, Ctl::BtNameCheck, &Dialog::OnModifyChange},
        {Notify::CheckChange, Ctl::BtPasswordCheck, &Dialog::OnModifyChange},
        {Notify::Clicked, Ctl::DownloadBitmap, &Dialog::DownloadBitmap},
        {Notify::Clicked, Ctl::PrintBitmap, &Dialog::PrintBitmap},
        {Notify::CheckChange, Ctl::DotMatrix, &Dialog::OnFontSwitch},
        {Notify::SelChange, Ctl::PortList, &Dialog::SelectPort},
        {Notify::SelChange, Ctl::BuzzerError, &Dialog::OnBuzzerChange},
        {Notify::SelChange, Ctl::BuzzerCut, &Dialog::OnBuzzerChange},
        {Notify::EditChange, Ctl::BtPassword, &Dialog::OnBtPasswordChange},
        {Notify::EditChange, Ctl::BtName, &Dialog::OnBtNameChange},
    }};
}

} // namespace tervan
