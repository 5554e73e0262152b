#pragma once

#include "protocol/PrinterSettings.h"
#include "protocol/Strings.h"
#include "protocol/ToAnsi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The settings an input check can find wrong, and the code page the texts are written in.
enum class Setting {
    Manufacturer,
    Model,
    SerialNumber,
    BtName,
    BtPassword,
    MarkStart,
    MarkTear,
    AnsiCodePage,
};

// How each front end names a setting: the command line's option, the form's label.
struct SettingName {
    std::string_view flag;  // "--manufacturer"
    std::string_view label; // "制造商名称"
};
SettingName NameOf(Setting setting);

// The text a setting holds, for the five text settings; empty for the others.
const std::u16string& TextOf(const PrinterSettings& settings, Setting setting);

enum class InputRules {
    // The windows refuse only what would put wrong or stray bytes on the wire (122, 123, 124);
    // empty texts and a password of other than 4 characters end the conversation as they always
    // have.
    Window,
    // The command line also refuses what the form's limits would have prevented.
    CommandLine,
};

enum class ProblemKind {
    OffsetOutOfRange,    // 122
    UnmappableCharacter, // 123
    ControlCharacter,    // 124
    // The command line's own, which it words itself.
    EmptyText,
    TextTooLong,   // more than 259 characters; `count` holds them
    BtNameTooLong, // more than 30 bytes or 40 characters; `count` holds the bytes
    BtPasswordNotFourDigits,
    OffsetNotWholeNumber,
    CodePageUnknown,
    CodePageNotAscii,
};

struct InputProblem {
    Setting setting = Setting::Manufacturer;
    ProblemKind kind = ProblemKind::EmptyText;
    std::optional<StringId> text; // the message for the kinds the windows show
    char32_t character = 0;       // 123, 124
    std::size_t position = 0;     // 123, 124: where in the setting's text, in UTF-16 units
    std::size_t count = 0;        // TextTooLong, BtNameTooLong
    std::string codePage;         // 123 and the code page kinds: the code page's name
};

// The first setting that may not go to the printer, in the order the conversation sends them;
// nothing when all may. Front ends call it before anything is opened.
std::optional<InputProblem> CheckSettings(const PrinterSettings& settings,
                                          const AnsiCodePage& codePage, InputRules rules);

// "“汉” (U+6C49)", or "U+001B" for a character that has no face.
std::string DescribeCharacter(char32_t character);

// The message of a problem that has a string id, with `settingName` in place of the setting.
std::string ProblemText(const InputProblem& problem, std::string_view settingName,
                        Language language);

} // namespace tervan
