#include "form/Gather.h"

#include "form/ControlIds.h"
#include "link/SerialPort.h"
#include "protocol/MarkOffset.h"
#include "protocol/SettingTable.h"

#include <vector>

namespace tervan {

namespace {

// What the controls of one setting hold: its check box, its lists' selections in the order its
// record takes them, its edit's text.
struct SettingControls {
    bool checked = false;
    std::vector<int> selections;
    std::u16string text;
};

SettingControls ControlsOf(const FormState& form, const Setting& setting) {
    SettingControls values;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.setting != &setting) {
            continue;
        }
        const ControlState& state = form.At(control.id);
        switch (control.kind) {
        case ControlKind::CheckBox:
            values.checked = state.checked;
            break;
        case ControlKind::DropDownList:
            values.selections.push_back(state.selection);
            break;
        case ControlKind::Edit:
            values.text = state.text;
            break;
        default:
            break;
        }
    }
    return values;
}

// A setting list off "不改变": index n stands for item n - 1.
std::optional<std::uint8_t> ItemOf(int selection) {
    if (selection <= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(selection - 1);
}

// A list without a "不改变" row: the index is the value (nothing selected reads as 0).
std::uint8_t IndexOf(int selection) {
    return static_cast<std::uint8_t>(selection < 0 ? 0 : selection);
}

std::uint8_t IndexOf(const FormState& form, int id) {
    return IndexOf(form.At(id).selection);
}

void Gather(const Setting& setting, const SettingControls& controls, PrinterSettings& settings) {
    const std::vector<int>& lists = controls.selections;
    switch (setting.kind) {
    case SettingKind::Font:
        // Only picks the items' names; n travels unchanged.
        settings.dotMatrixFonts = controls.checked;
        [[fallthrough]];
    case SettingKind::List:
        settings.*setting.item = ItemOf(lists[0]);
        break;
    case SettingKind::SerialFormat:
        if (controls.checked) {
            settings.*setting.format = SetupCommandTable::SerialFormat{
                IndexOf(lists[0]), IndexOf(lists[1]), IndexOf(lists[2]), IndexOf(lists[3])};
        }
        break;
    case SettingKind::Text:
        settings.*setting.text = {controls.checked, controls.text.substr(0, kTextReadLength)};
        break;
    case SettingKind::Offset:
        settings.*setting.offset = {lists[0] > 0, ParseMarkOffset(controls.text)};
        break;
    case SettingKind::Buzzer:
        // Sent when the error list is set; the cut list adds its bit only when it is "允许".
        if (lists[0] > 0) {
            settings.*setting.buzzer = BuzzerChoice{lists[0] == 2, lists[1] == 2};
        }
        break;
    }
}

} // namespace

PrinterSettings GatherSettings(const FormState& form) {
    PrinterSettings settings;
    for (const Setting& setting : kSettingTable) {
        Gather(setting, ControlsOf(form, setting), settings);
    }
    return settings;
}

LineSettings GatherLineSettings(const FormState& form) {
    constexpr char kParities[] = {'N', 'O', 'E'};
    LineSettings line;
    line.baudRate = BaudFromIndex(IndexOf(form, Ctl::BaudRate));
    line.parity = kParities[std::min<std::uint8_t>(IndexOf(form, Ctl::Parity), 2)];
    line.byteSize = IndexOf(form, Ctl::DataBits) == 0 ? 7 : 8;
    return line;
}

std::string SelectedPort(const FormState& form) {
    const ControlState& ports = form.At(Ctl::PortList);
    if (ports.selection < 0 || static_cast<std::size_t>(ports.selection) >= ports.items.size()) {
        return {};
    }
    return ports.items[static_cast<std::size_t>(ports.selection)];
}

std::uint8_t SelectedSlot(const FormState& form) {
    return IndexOf(form, Ctl::BitmapSlot);
}

} // namespace tervan
