#pragma once

#include "form/ControlIds.h"

#include <array>
#include <cstddef>

namespace tervan {

// The notifications a handler of the main dialog can be bound to.
enum class Notify { Clicked, SelChange, EditChange };

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
        {Notify::Clicked, Ctl::ManufacturerCheck, &Dialog::OnModifyClicked},
        {Notify::Clicked, Ctl::ModelCheck, &Dialog::OnModifyClicked},
        {Notify::Clicked, Ctl::SerialNumberCheck, &Dialog::OnModifyClicked},
        {Notify::Clicked, Ctl::SerialFormatCheck, &Dialog::OnModifyClicked},
        {Notify::Clicked, Ctl::BtNameCheck, &Dialog::OnModifyClicked},
        {Notify::Clicked, Ctl::BtPasswordCheck, &Dialog::OnModifyClicked},
        {Notify::Clicked, Ctl::DownloadBitmap, &Dialog::DownloadBitmap},
        {Notify::Clicked, Ctl::PrintBitmap, &Dialog::PrintBitmap},
        {Notify::Clicked, Ctl::DotMatrix, &Dialog::OnFontSwitch},
        {Notify::SelChange, Ctl::PortList, &Dialog::SelectPort},
        {Notify::SelChange, Ctl::BuzzerError, &Dialog::OnBuzzerChange},
        {Notify::SelChange, Ctl::BuzzerCut, &Dialog::OnBuzzerChange},
        {Notify::EditChange, Ctl::BtPassword, &Dialog::OnBtPasswordChange},
        {Notify::EditChange, Ctl::BtName, &Dialog::OnBtNameChange},
    }};
}

} // namespace tervan
