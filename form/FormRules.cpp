#include "form/FormRules.h"

#include "form/ControlIds.h"
#include "protocol/SettingTable.h"

#include <algorithm>
#include <array>

namespace tervan {

namespace {

constexpr std::array kLineLists{Ctl::BaudRate, Ctl::Parity, Ctl::DataBits, Ctl::FlowControl};
constexpr std::array kPortControls{Ctl::PortList, Ctl::BaudRate, Ctl::Parity, Ctl::DataBits,
                                   Ctl::FlowControl};

ControlChange ChangeOf(int id) {
    ControlChange change;
    change.id = id;
    return change;
}

// Keeps the form in step with what the window is told to show.
FormChanges Record(FormState& form, FormChanges changes) {
    for (const ControlChange& change : changes.controls) {
        ControlState& control = form.At(change.id);
        if (change.items) {
            control.items = *change.items;
        }
        if (change.selection) {
            control.selection = *change.selection;
        }
        if (change.checked) {
            control.checked = *change.checked;
        }
        if (change.enabled) {
            control.enabled = *change.enabled;
        }
        if (change.text) {
            control.text = *change.text;
        }
        if (change.caption) {
            control.caption = *change.caption;
        }
    }
    return changes;
}

ControlChange Enable(int id, bool enabled) {
    ControlChange change = ChangeOf(id);
    change.enabled = enabled;
    return change;
}

ControlChange Select(int id, int selection) {
    ControlChange change = ChangeOf(id);
    change.selection = selection;
    return change;
}

// Both buzzer lists stay at "不改变" together or off it together: one parameter carries both.
FormChanges PairBuzzer(const FormState& form, int changed, int other) {
    FormChanges changes;
    const int own = form.At(changed).selection;
    const int partner = form.At(other).selection;
    if (own <= 0) {
        if (partner != 0) {
            changes.controls.push_back(Select(other, 0));
        }
    } else if (partner <= 0) {
        changes.controls.push_back(Select(other, 1));
    }
    return changes;
}

FormChanges SelectPort(FormState& form) {
    form.m_bUsb = form.At(Ctl::PortList).selection == 0;
    FormChanges changes;
    for (int id : kLineLists) {
        changes.controls.push_back(Enable(id, !form.m_bUsb));
    }
    return changes;
}

// A "修改" box enables the other controls of its setting, or disables them keeping their values.
FormChanges EnableSettingControls(int check, bool checked) {
    const DialogTemplate& dialog = MainDialogTemplate();
    const Setting* setting = FindControl(dialog, check)->setting;
    FormChanges changes;
    if (setting == nullptr ||
        (setting->kind != SettingKind::Text && setting->kind != SettingKind::SerialFormat)) {
        return changes;
    }
    for (const ControlTemplate& control : dialog.controls) {
        if (control.setting == setting && control.id != check) {
            changes.controls.push_back(Enable(control.id, checked));
        }
    }
    return changes;
}

FormChanges SwitchFonts(bool dotMatrix) {
    const Setting& font = *FindControl(MainDialogTemplate(), Ctl::Font)->setting;
    ControlChange change = ChangeOf(Ctl::Font);
    change.items = ListTexts(*font.lists[dotMatrix ? 1 : 0]);
    change.selection = 0;
    return {.controls = {change}};
}

FormChanges CheckBtName(FormState& form, const std::u16string& text) {
    if (text.empty()) {
        return {};
    }
    if (ToAnsi(text, form.codePage).size() <= kBtNameBytes) {
        form.m_strLastBtName = text;
        return {};
    }
    ControlChange change = ChangeOf(Ctl::BtName);
    change.text = form.m_strLastBtName;
    change.caret =
        static_cast<int>(std::min<std::size_t>(kBtNameBytes, form.m_strLastBtName.size()));
    return {.controls = {change}};
}

FormChanges CheckBtPassword(const std::u16string& text) {
    const std::u16string_view read = std::u16string_view(text).substr(0, kBtPasswordLength);
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (read[i] < u'0' || read[i] > u'9') {
            ControlChange change = ChangeOf(Ctl::BtPassword);
            change.text = std::u16string(read.substr(0, i));
            change.caret = static_cast<int>(i);
            return {.message = BoxMessage{"只能输入数字", std::nullopt, false},
                    .controls = {change}};
        }
    }
    return {};
}

FormChanges LockPortControls(FormState& form, bool locked, std::string caption) {
    FormChanges changes;
    for (int id : kPortControls) {
        changes.controls.push_back(Enable(id, !locked));
    }
    ControlChange button = ChangeOf(Ctl::OpenClose);
    button.caption = std::move(caption);
    changes.controls.push_back(std::move(button));
    return Record(form, std::move(changes));
}

} // namespace

FormChanges OnSelChange(FormState& form, int id, int selection) {
    form.At(id).selection = selection;
    switch (id) {
    case Ctl::PortList:
        return Record(form, SelectPort(form));
    case Ctl::BuzzerError:
        return Record(form, PairBuzzer(form, Ctl::BuzzerError, Ctl::BuzzerCut));
    case Ctl::BuzzerCut:
        return Record(form, PairBuzzer(form, Ctl::BuzzerCut, Ctl::BuzzerError));
    default:
        return {};
    }
}

FormChanges OnClicked(FormState& form, int id, bool checked) {
    ControlState& control = form.At(id);
    if (control.kind != ControlKind::CheckBox) {
        return {}; // the operations' buttons are not the form's business
    }
    control.checked = checked;
    if (id == Ctl::DotMatrix) {
        return Record(form, SwitchFonts(checked));
    }
    return Record(form, EnableSettingControls(id, checked));
}

FormChanges OnEditChange(FormState& form, int id, std::u16string text) {
    // The form keeps the text; the checks read it there.
    std::u16string& stored = form.At(id).text;
    stored = std::move(text);
    switch (id) {
    case Ctl::BtName:
        return Record(form, CheckBtName(form, stored));
    case Ctl::BtPassword:
        return Record(form, CheckBtPassword(stored));
    default:
        return {};
    }
}

FormChanges OnLinkOpened(FormState& form, std::string caption) {
    return LockPortControls(form, true, std::move(caption));
}

FormChanges OnLinkClosed(FormState& form, std::string caption) {
    return LockPortControls(form, false, std::move(caption));
}

} // namespace tervan
