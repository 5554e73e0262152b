#pragma once

#include "protocol/PrinterSettings.h"
#include "protocol/SettingTable.h"
#include "protocol/Strings.h"
#include "protocol/ToAnsi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// How each front end names a setting the input check refuses: the command line's option, the
// form's label. A null setting is the code page the texts are written in.
struct SettingName {
    std::string flag;       // "--manufacturer"
    std::string_view label; // "制造商名称"
};
SettingName NameOf(const Setting* setting);

enum class InputRules {
    // The windows refuse only what would put wrong or stray bytes on the wire (122, 123, 124);
    // empty texts and a password of another length end the conversation as they always have.
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
    TextTooLong,   // more than kTextReadLength characters; `count` holds them
    BtNameTooLong, // more bytes or characters than the name takes; `count` holds the bytes
    BtPasswordNotFourDigits,
    OffsetNotWholeNumber, // only the command line's reading finds no number
    CodePageUnknown,
    CodePageNotAscii,
};

struct InputProblem {
    const Setting* setting = nullptr; // none: the code page
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
