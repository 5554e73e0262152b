#include "form/FormState.h"

#include "base/Utf.h"
#include "form/ControlIds.h"
#include "link/PortList.h"
#include "protocol/LinkSession.h"

#include <stdexcept>

namespace tervan {

namespace {

template <typename Controls> auto& Find(Controls& controls, int id) {
    for (auto& control : controls) {
        if (control.id == id) {
            return control;
        }
    }
    // A number that is not on the form is a programming error, not a user's.
    throw std::out_of_range("no control " + std::to_string(id));
}

// "USB" selected, as the port-list rule leaves the form after choosing it.
void SelectUsb(FormState& form) {
    form.At(Ctl::PortList).selection = 0;
    form.m_bUsb = true;
    for (int id : {Ctl::BaudRate, Ctl::Parity, Ctl::DataBits, Ctl::FlowControl}) {
        form.At(id).enabled = false;
    }
}

} // namespace

ControlState& FormState::At(int id) {
    return Find(controls, id);
}

const ControlState& FormState::At(int id) const {
    return Find(controls, id);
}

std::vector<std::string> ListTexts(const SettingList& list) {
    std::vector<std::string> texts;
    if (list.hasNoChange) {
        texts.emplace_back(kNoChange);
    }
    for (const ListItem& item : list.items) {
        texts.emplace_back(item.text);
    }
    return texts;
}

FormState InitialFormState(const std::vector<std::string>& ports, AnsiCodePage codePage) {
    FormState form;
    form.codePage = std::move(codePage);
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.id == Ctl::Static) {
            continue;
        }
        ControlState state;
        state.id = control.id;
        state.kind = control.kind;
        state.selection = control.selection;
        state.checked = control.checked;
        state.text = Utf8ToUtf16(control.text).value_or(u"");
        state.caption = control.caption;
        state.enabled = control.enabled;
        state.visible = control.visible;
        state.limit = control.limit;
        if (control.itemSource == ItemSource::SettingList) {
            state.items = ListTexts(*control.list);
        } else if (control.itemSource == ItemSource::Ports) {
            state.items = ports;
        }
        form.controls.push_back(std::move(state));
    }

    if (form.At(Ctl::PortList).items.size() < 2) {
        // No serial port to select: the list holds "USB" alone, and the form says so.
        SelectUsb(form);
    }
    return form;
}

FormState OpeningFormState(const std::string& givenPort, AnsiCodePage codePage) {
    FormState form = InitialFormState(ListPorts(givenPort), std::move(codePage));
    if (!givenPort.empty() && ChoosePort(givenPort).usb) {
        SelectUsb(form); // "--port usb" asks for the USB link
    }
    return form;
}

} // namespace tervan
