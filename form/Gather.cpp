#include "form/Gather.h"

#include "form/ControlIds.h"
#include "link/SerialPort.h"

namespace tervan {

namespace {

// A setting list off "不改变": index n stands for item n - 1.
std::optional<std::uint8_t> ItemOf(const FormState& form, int id) {
    const int selection = form.At(id).selection;
    if (selection <= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(selection - 1);
}

// A list without a "不改变" row: the index is the value (nothing selected reads as 0).
std::uint8_t IndexOf(const FormState& form, int id) {
    const int selection = form.At(id).selection;
    return static_cast<std::uint8_t>(selection < 0 ? 0 : selection);
}

TextSetting ReadText(const FormState& form, int check, int edit) {
    return {form.At(check).checked, form.At(edit).text.substr(0, kTextReadLength)};
}

OffsetSetting ReadOffset(const FormState& form, int list, int edit) {
    return {form.At(list).selection > 0, form.At(edit).text.substr(0, kOffsetReadLength)};
}

} // namespace

PrinterSettings GatherSettings(const FormState& form) {
    PrinterSettings settings;
    settings.codePage = ItemOf(form, Ctl::CodePage);
    settings.font = ItemOf(form, Ctl::Font);
    settings.dotMatrixFonts = form.At(Ctl::DotMatrix).checked;
    settings.language = ItemOf(form, Ctl::Language);
    // The cutter's item number; the command encodes it (0x00 off, 0x10 on).
    settings.cutter = ItemOf(form, Ctl::Cutter);
    if (form.At(Ctl::SerialFormatCheck).checked) {
        settings.serialFormat = SetupCommandTable::SerialFormat{
            IndexOf(form, Ctl::PrinterBaudRate), IndexOf(form, Ctl::PrinterParity),
            IndexOf(form, Ctl::PrinterDataBits), IndexOf(form, Ctl::PrinterFlowControl)};
    }
    settings.manufacturer = ReadText(form, Ctl::ManufacturerCheck, Ctl::Manufacturer);
    settings.model = ReadText(form, Ctl::ModelCheck, Ctl::Model);
    settings.serialNumber = ReadText(form, Ctl::SerialNumberCheck, Ctl::SerialNumber);
    settings.btName = ReadText(form, Ctl::BtNameCheck, Ctl::BtName);
    settings.btPassword = ReadText(form, Ctl::BtPasswordCheck, Ctl::BtPassword);
    settings.markDetect = ItemOf(form, Ctl::MarkDetect);
    settings.markStart = ReadOffset(form, Ctl::MarkStart, Ctl::MarkStartOffset);
    settings.markTear = ReadOffset(form, Ctl::MarkTear, Ctl::MarkTearOffset);
    settings.markSensitivity = ItemOf(form, Ctl::MarkSensitivity);
    settings.speed = ItemOf(form, Ctl::Speed);
    settings.density = ItemOf(form, Ctl::Density);
    settings.crMode = ItemOf(form, Ctl::CrMode);
    settings.direction = ItemOf(form, Ctl::Direction);
    settings.paperWidth = ItemOf(form, Ctl::PaperWidth);
    settings.usbMode = ItemOf(form, Ctl::UsbMode);
    // Sent when the error list is set; the cut list adds its bit only when it is "允许".
    if (form.At(Ctl::BuzzerError).selection > 0) {
        settings.buzzer = BuzzerChoice{form.At(Ctl::BuzzerError).selection == 2,
                                       form.At(Ctl::BuzzerCut).selection == 2};
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
