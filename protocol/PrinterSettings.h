#pragma once

#include "protocol/SetupCommandTable.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tervan {

// A text setting: whether its "修改" box is checked, and the text (UTF-16, as the form holds
// it). "Checked but empty" stays distinct from "unchecked": the identity texts skip the first,
// the Bluetooth name aborts on it.
struct TextSetting {
    bool checked = false;
    std::u16string text;
};

// A mark offset: whether its list is on its one real row, and the number of dots as the front end
// read it (the window leniently, the command line strictly); none when the command line's text was
// not a whole number.
struct OffsetSetting {
    bool set = false;
    std::optional<std::int64_t> dots = 0;
};

struct BuzzerChoice {
    bool onError = false;
    bool onCut = false;
};

// What both front ends fill: one optional value per setting, absent meaning "不改变". List
// values are item numbers n (the list index minus the "不改变" row).
struct PrinterSettings {
    std::optional<std::uint8_t> codePage;
    std::optional<std::uint8_t> font;
    bool dotMatrixFonts = false; // only picks the item names; n travels unchanged
    std::optional<std::uint8_t> language;
    std::optional<std::uint8_t> cutter;
    std::optional<SetupCommandTable::SerialFormat> serialFormat;
    TextSetting manufacturer;
    TextSetting model;
    TextSetting serialNumber;
    TextSetting btName;
    TextSetting btPassword;
    std::optional<std::uint8_t> markDetect;
    OffsetSetting markStart;
    OffsetSetting markTear;
    std::optional<std::uint8_t> markSensitivity;
    std::optional<std::uint8_t> speed;
    std::optional<std::uint8_t> density;
    std::optional<std::uint8_t> crMode;
    std::optional<std::uint8_t> direction;
    std::optional<std::uint8_t> paperWidth;
    std::optional<std::uint8_t> usbMode;
    std::optional<BuzzerChoice> buzzer;
};

} // namespace tervan
