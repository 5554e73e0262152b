#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tervan {

// Ids of the message texts shared by the windows and the command line. The windows' own texts
// (101-105, 108, 111, 135, 136, 150-152) are form/WindowStrings.h's.
enum class StringId : int {
    Error = 106,
    SetSuccess = 107,
    Success = 109,
    SetFailed = 110,
    FileReadFailure = 112,
    FileTooLarge = 113,
    NotMonochrome = 114,
    NoFeedback = 115,
    DownloadFailed = 116,
    DownloadSuccess = 117,
    Tip = 118,
    Failure = 119,
    PortNotOpen = 120,
    PortOpenFailed = 121,
    // Refusals before opening; %1 is the setting's name as the front end shows it.
    OffsetOutOfRange = 122,    // %1, %2 the largest offset
    UnmappableCharacter = 123, // %1, %2 the character, %3 the code page
    ControlCharacter = 124,    // %1, %2 the character
    // Under a verdict: the printer vanished during the conversation.
    PrinterGone = 125,
    // Pictures converted to logos.
    NotAPicture = 126,
    TooManyPixels = 127, // %1 x %2 pixels
    PictureFileTooLarge = 128,
    LogoOverSlot = 129, // %1 dots wide, %2 rows, %3 bytes; %4 the most rows that fit
    // A stopped logo download: the verdict (%1 the slot), the verdict when even the blank rows
    // were given up, and what the progress shows while they go out (%1 the time left).
    DownloadStopped = 130,
    StillInSetupMode = 131,
    FillingSeconds = 132,
    FillingMinutes = 133,
    Filling = 134,
    // A profile loaded in a window names a port this computer does not list (%1 the port).
    ProfilePortMissing = 137,
    // Under a verdict: the network printer closed the connection (%1 its tcp: name).
    ConnectionDropped = 138,
};

enum class Language { Chinese, English };

// The user-interface language as the environment names it (LANGUAGE, LC_ALL, LC_MESSAGES, LANG):
// Chinese for zh*, English for anything else.
Language UiLanguage();

// The text of `id` in `language` (UTF-8).
std::string_view LoadString(StringId id, Language language);
// The text of `id` in the user-interface language.
std::string_view LoadString(StringId id);

// One text of a table in both languages, and its lookup: a number without a text gives "".
template <class Id> struct TextEntry {
    Id id;
    std::string_view chinese;
    std::string_view english;
};

template <class Id, std::size_t N>
constexpr std::string_view LookUpText(const std::array<TextEntry<Id>, N>& table, Id id,
                                      Language language) {
    for (const TextEntry<Id>& entry : table) {
        if (entry.id == id) {
            return language == Language::Chinese ? entry.chinese : entry.english;
        }
    }
    return {};
}

// A text with its placeholders %1 ... %9 filled in from `arguments`.
std::string FormatString(std::string_view text, std::initializer_list<std::string_view> arguments);

} // namespace tervan
