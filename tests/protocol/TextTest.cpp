#include "base/Utf.h"
#include "protocol/MarkOffset.h"
#include "protocol/Strings.h"
#include "protocol/ToAnsi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace tervan {
namespace {

TEST(ParseMarkOffset, ReadsTheEditAsTheFormAlwaysDid) {
    struct Case {
        std::u16string text;
        std::int32_t value;
    } cases[] = {
        {u"", 0},
        {u"abc", 0},
        {u"-0", 0},
        {u"-100", -100},
        {u"300", 300},
        {u"  +42mm", 42},
        {u"\t-7", -7},
        {u"70000", 70000},
        {u"99999999999", INT32_MAX},
        {u"-99999999999", INT32_MIN},
        // Only 63 characters are read: the 64th digit does not count.
        {std::u16string(62, u' ') + u"12", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseMarkOffset(c.text), c.value) << Utf16ToUtf8(c.text);
    }
}

TEST(ToAnsi, BytesOfTheCodePage) {
    struct Case {
        const char* codePage;
        std::u16string text;
        Bytes bytes;
    } cases[] = {
        {"CP936", u"打印", {0xB4, 0xF2, 0xD3, 0xA1}},
        {"CP936", u"中A", {0xD6, 0xD0, 0x41}},
        {"CP1252", u"Café", {0x43, 0x61, 0x66, 0xE9}},
        {"CP1252", u"e\u0301", {0xE9}},             // base and mark become one character
        {"CP1258", u"a\u0300", {0xE0}},             // likewise
        {"CP1258", u"a\u0306\u0301", {0xE3, 0xEC}}, // U+1EAF is not in 1258: U+0103 and the mark
        {"CP932", u"\u212B", {0x81, 0xF0}},         // a single character is never rewritten
        {"CP1252", u"e\u0303", {0x3F}},         // neither U+1EBD nor the mark: one "?" for the pair
        {"CP1251", u"Дa☃", {0xC4, 0x61, 0x3F}}, // one "?" per missing character
        {"CP1252", u"\U0001F600x", {0x3F, 0x78}}, // a surrogate pair is one character
        {"UTF-8", u"打印", {0xE6, 0x89, 0x93, 0xE5, 0x8D, 0xB0}},
        {"GB18030", u"\U00020000", {0x95, 0x32, 0x82, 0x36}},
        {"CP1252", std::u16string(u"AB\0C", 4), {0x41, 0x42}}, // up to a NUL
        {"NO-SUCH-CODEPAGE", u"Aé", {0x41, 0x3F}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToAnsi(c.text, {c.codePage}), c.bytes)
            << c.codePage << " " << Utf16ToUtf8(c.text);
    }
}

TEST(ToAnsi, ReportsTheFirstCharacterTheCodePageLacks) {
    struct Case {
        const char* codePage;
        std::u16string text;
        std::optional<char32_t> character;
        std::size_t position;
    } cases[] = {
        {"CP1252", u"xe\u0303", U'\u1EBD', 1}, // the character as composed
        {"CP1252", u"a\U0001F600", U'\U0001F600', 1},
        {"CP1252", std::u16string(u"a") + char16_t(0xD800), 0xD800, 1}, // unpaired surrogate
        {"NO-SUCH-CODEPAGE", u"A", U'A', 0},
        {"CP936", u"打印", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const auto unmappable = ToAnsiChecked(c.text, {c.codePage}).unmappable;
        ASSERT_EQ(unmappable.has_value(), c.character.has_value()) << Utf16ToUtf8(c.text);
        if (unmappable) {
            EXPECT_EQ(unmappable->character, *c.character) << Utf16ToUtf8(c.text);
            EXPECT_EQ(unmappable->position, c.position) << Utf16ToUtf8(c.text);
        }
    }
}

// Nothing is truncated whatever the bytes per character.
TEST(ToAnsi, LongTextInWideEncodingsIsWhole) {
    const std::u16string text(259, u'打');
    EXPECT_EQ(ToAnsi(text, {"UTF-8"}).size(), 259u * 3);
    std::u16string supplementary;
    for (int i = 0; i < 100; ++i) {
        supplementary += u"\U00020000";
    }
    EXPECT_EQ(ToAnsi(supplementary, {"GB18030"}).size(), 400u);
}

TEST(AnsiCodePage, FromTheLocaleAsWindowsWouldPick) {
    struct Case {
        const char* locale;
        const char* codePage;
    } cases[] = {
        {"zh_CN.UTF-8", "CP936"},     {"zh_TW.UTF-8", "CP950"}, // the territory rule first
        {"pl_PL.utf8", "CP1250"},     {"C", "CP1252"},
        {"zh_CN.GB18030", "GB18030"}, {"de_DE.ISO-8859-15@euro", "ISO-8859-15"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnsiCodePageForLocale(c.locale).name, c.codePage) << c.locale;
    }
}

// The locale variables and the code page override: exactly those given are set.
void SetEnvironment(const std::vector<std::pair<const char*, const char*>>& env) {
    for (const char* name :
         {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "LC_CTYPE", "TERVAN_ANSI_CODEPAGE"}) {
        unsetenv(name);
    }
    for (const auto& [name, value] : env) {
        setenv(name, value, 1);
    }
}

TEST(Environment, UiLanguageFollowsTheEnvironment) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> env;
        Language language;
    } cases[] = {
        {{}, Language::English},
        {{{"LANG", "C.UTF-8"}}, Language::English},
        {{{"LANG", "zh_CN.UTF-8"}}, Language::Chinese},
        {{{"LANG", "zh_CN.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}, Language::English},
        {{{"LANG", "en_US.UTF-8"}, {"LC_ALL", "zh_TW.UTF-8"}}, Language::Chinese},
        {{{"LANG", "zh_CN.UTF-8"}, {"LANGUAGE", "en_GB:zh_CN"}}, Language::English},
        {{{"LANG", "C"}, {"LANGUAGE", ":zh"}}, Language::Chinese},
    };
    for (const Case& c : cases) {
        SetEnvironment(c.env);
        EXPECT_EQ(UiLanguage(), c.language) << c.env.size();
    }
}

TEST(Utf, RoundTripAndRejects) {
    EXPECT_EQ(Utf8ToUtf16("打印A\xF0\xA0\x80\x80"), std::u16string(u"打印A\U00020000"));
    EXPECT_EQ(Utf16ToUtf8(u"打印A\U00020000"), "打印A\xF0\xA0\x80\x80");
    for (const char* bad : {"\xC0\xAF", "\xE6\x89", "\xED\xA0\x80", "\xFF"}) {
        EXPECT_FALSE(Utf8ToUtf16(bad)) << bad;
    }
}

} // namespace
} // namespace tervan
