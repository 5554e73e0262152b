#pragma once

#include "form/DialogTemplate.h"
#include "protocol/ToAnsi.h"

#include <string>
#include <vector>

namespace tervan {

// What a window shows of one numbered control. Texts of lists and captions are UTF-8; edit texts
// are UTF-16, as the window's controls hold them.
struct ControlState {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::vector<std::string> items;
    int selection = -1; // -1: nothing selected
    bool checked = false;
    std::u16string text;
    std::string caption; // a button's or check box's
    bool enabled = true;
    bool visible = true;
    int limit = 0;
};

// The main form: every numbered control of the template, plus what the form's rules remember.
// Every notification reaches the rules (FormRules.h) through MainForm::Dispatch, and they keep
// this up to date.
struct FormState {
    std::vector<ControlState> controls;
    bool m_bUsb = false;            // the port list selects "USB"
    std::u16string m_strLastBtName; // the last Bluetooth name that fitted in kBtNameBytes
    AnsiCodePage codePage;          // the one the printer's texts are measured and sent in

    ControlState& At(int id);
    const ControlState& At(int id) const;
};

// The items a list of the template starts with ("不改变" first where the list has that row).
std::vector<std::string> ListTexts(const SettingList& list);

// The form as the dialog opens: the template's initial state, `ports` in the port list (the
// first is "USB"). The first serial port is selected; without one, "USB" is, and the serial
// line lists are disabled to match.
FormState InitialFormState(const std::vector<std::string>& ports, AnsiCodePage codePage);

// The form as the window opens it: the system's ports (`givenPort` first among them, so that it
// is selected) and the code page the program took from the system at its start.
FormState OpeningFormState(const std::string& givenPort, AnsiCodePage codePage);

} // namespace tervan
