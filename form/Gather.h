#pragma once

#include "form/FormState.h"
#include "link/PrinterLinks.h"
#include "protocol/PrinterSettings.h"

#include <cstdint>
#include <string>

// The form read into what the core takes, setting by setting through the controls the template
// gives each: texts up to what the conversation reads, offsets as the window reads its edits.
// Nothing here refuses input: the core's input check does that.
namespace tervan {

PrinterSettings GatherSettings(const FormState& form);

// The computer's line settings from lists 1002-1004; the flow-control list has no effect.
LineSettings GatherLineSettings(const FormState& form);

// The port list's selected item: "USB" or a serial port's name; empty when nothing is selected.
std::string SelectedPort(const FormState& form);

// The logo slot of list 1017 (its index: the list has no "不改变" row).
std::uint8_t SelectedSlot(const FormState& form);

} // namespace tervan
