#include "protocol/InputCheck.h"
#include "base/Utf.h"
#include "protocol/MarkOffset.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

using R = InputRules;
using K = ProblemKind;

// The settings the cases name; none stands for the code page.
namespace Setting {
const tervan::Setting* const Manufacturer = &SettingNamed("manufacturer");
const tervan::Setting* const Model = &SettingNamed("model");
const tervan::Setting* const SerialNumber = &SettingNamed("serial-number");
const tervan::Setting* const BtName = &SettingNamed("bt-name");
const tervan::Setting* const BtPassword = &SettingNamed("bt-password");
const tervan::Setting* const MarkStart = &SettingNamed("mark-start");
const tervan::Setting* const MarkTear = &SettingNamed("mark-tear");
const tervan::Setting* const AnsiCodePage = nullptr;
} // namespace Setting

// Puts `text` into one setting, checked or set, as a front end would: an offset read as the
// window or the command line reads it.
PrinterSettings With(const tervan::Setting* setting, const std::u16string& text, R rules) {
    PrinterSettings s;
    if (setting == nullptr) {
        return s;
    }
    if (setting->kind == SettingKind::Offset) {
        const std::optional<std::int64_t> dots =
            rules == R::Window ? ParseMarkOffset(text) : ParseWholeMarkOffset(Utf16ToUtf8(text));
        s.*setting->offset = {true, dots};
    } else {
        s.*setting->text = {true, text};
    }
    return s;
}

TEST(CheckSettings, RefusesWhatMustNotReachThePrinter) {
    struct Expected {
        const tervan::Setting* setting;
        K kind;
        int stringId; // 0: worded by the command line
        char32_t character = 0;
        std::size_t position = 0;
    };
    struct Case {
        const tervan::Setting* setting;
        std::u16string text;
        R rules;
        const char* codePage;
        std::optional<Expected> expected;
    } cases[] = {
        // Control characters: an ESC inside a text is a command to the printer.
        {Setting::Model, u"A\x1b\x16B", R::CommandLine, "CP936",
         Expected{Setting::Model, K::ControlCharacter, 124, 0x1B, 1}},
        {Setting::Manufacturer, u"A\nB", R::Window, "CP936",
         Expected{Setting::Manufacturer, K::ControlCharacter, 124, 0x0A, 1}},
        {Setting::SerialNumber, u"\x7f", R::Window, "CP936",
         Expected{Setting::SerialNumber, K::ControlCharacter, 124, 0x7F, 0}},
        {Setting::BtName, u"ab\tc", R::Window, "CP936",
         Expected{Setting::BtName, K::ControlCharacter, 124, 0x09, 2}},
        {Setting::BtPassword, std::u16string{u'1', u'2', u'\0', u'4'}, R::CommandLine, "CP936",
         Expected{Setting::BtPassword, K::ControlCharacter, 124, 0x00, 2}},
        // Characters the code page lacks, named with their place.
        {Setting::BtName, u"ab汉", R::Window, "CP1252",
         Expected{Setting::BtName, K::UnmappableCharacter, 123, U'汉', 2}},
        {Setting::Model, u"e\u0301", R::CommandLine, "CP1252", std::nullopt},
        // Offsets: the command line's whole numbers, the window's reading of its edit.
        {Setting::MarkTear, u" 5", R::CommandLine, "CP936",
         Expected{Setting::MarkTear, K::OffsetNotWholeNumber, 0}},
        {Setting::MarkTear, u"+65535", R::CommandLine, "CP936", std::nullopt},
        {Setting::MarkStart, u" -12abc", R::Window, "CP936", std::nullopt},
        {Setting::MarkStart, u"+-100", R::Window, "CP936", std::nullopt},
        {Setting::MarkTear, u"70000", R::Window, "CP936",
         Expected{Setting::MarkTear, K::OffsetOutOfRange, 122}},
        // Code pages that cannot carry the texts.
        {Setting::AnsiCodePage, u"", R::CommandLine, "0",
         Expected{Setting::AnsiCodePage, K::CodePageUnknown, 0}},
        {Setting::AnsiCodePage, u"", R::CommandLine, "CP1252//TRANSLIT",
         Expected{Setting::AnsiCodePage, K::CodePageUnknown, 0}},
        {Setting::Manufacturer, u"AB", R::Window, "UTF-16",
         Expected{Setting::Manufacturer, K::UnmappableCharacter, 123, U'A', 0}},
        {Setting::AnsiCodePage, u"", R::Window, "nonsense", std::nullopt},
        // The window keeps the old outcomes for these.
        {Setting::Manufacturer, u"", R::Window, "CP936", std::nullopt},
        {Setting::BtPassword, u"123", R::Window, "CP936", std::nullopt},
        // Only 259 characters are read in the window: an ESC after them is never sent.
        {Setting::Model, std::u16string(259, u'x') + u"\x1b", R::Window, "CP936", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto problem = CheckSettings(With(c.setting, c.text, c.rules), {c.codePage}, c.rules);
        const std::string label = Utf16ToUtf8(c.text) + " in " + c.codePage;
        ASSERT_EQ(problem.has_value(), c.expected.has_value()) << label;
        if (!problem) {
            continue;
        }
        EXPECT_EQ(problem->setting, c.expected->setting) << label;
        EXPECT_EQ(problem->kind, c.expected->kind) << label;
        EXPECT_EQ(problem->text ? static_cast<int>(*problem->text) : 0, c.expected->stringId)
            << label;
        EXPECT_EQ(problem->character, c.expected->character) << label;
        EXPECT_EQ(problem->position, c.expected->position) << label;
    }
}

} // namespace
} // namespace tervan
