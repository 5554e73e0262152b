#pragma once

#include "protocol/PrinterSettings.h"
#include "protocol/SettingTable.h"

#include <optional>
#include <string>
#include <string_view>

// A setting's value as the command line and profiles spell it ("cp437", "115200,even,7,xon-xoff",
// "on,off", "-100", any text), read into the settings record and written back from it. Limits and
// the characters of texts are the input check's business, once every value is read.
namespace tervan {

// "0 off (关) | 1 on (开)": a list's items with the numbers it takes.
std::string ListChoices(const SettingList& list);
// What a list setting takes, as a refusal or a help text says it: its items, or a range of
// numbers where the items are numbers or too many to name.
std::string AllowedValues(const SettingList& list);

// Reads `value` into the record's member for `setting`; `alternative` picks the font's other item
// set. The refusal names the setting as `name` ("--density", "density") and says what it takes.
std::optional<std::string> TakeSettingValue(const Setting& setting, std::string_view value,
                                            bool alternative, PrinterSettings& settings,
                                            std::string_view name);

// What TakeSettingValue reads back into the same record member; none when the record leaves the
// setting unchanged. `number` marks a whole number that a profile writes without quotes.
struct SettingValue {
    std::string text;
    bool number = false;
};
std::optional<SettingValue> SettingValueOf(const Setting& setting, const PrinterSettings& settings);

} // namespace tervan
