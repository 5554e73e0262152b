#pragma once

#include "form/FormState.h"
#include "link/PrinterLinks.h"
#include "protocol/PrinterSettings.h"

#include <cstdint>
#include <string>

// The form read into what the core takes, control by control as the setup conversation reads
// the controls. Nothing here refuses input: the core's input check does that.
namespace tervan {

// A text setting is read up to this many characters (the conversation's buffer holds 260 with
// the terminator); an offset up to 63.
inline constexpr std::size_t kTextReadLength = 259;
inline constexpr std::size_t kOffsetReadLength = 63;

PrinterSettings GatherSettings(const FormState& form);

// The computer's line settings from lists 1002-1004; the flow-control list has no effect.
LineSettings GatherLineSettings(const FormState& form);

// The port list's selected item: "USB" or a serial port's name; empty when nothing is selected.
std::string SelectedPort(const FormState& form);

// The logo slot of list 1017 (its index: the list has no "不改变" row).
std::uint8_t SelectedSlot(const FormState& form);

} // namespace tervan
