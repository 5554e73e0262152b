#include "protocol/ToAnsiWin32.h"
#include "protocol/ToAnsi.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tervan {
namespace {

TEST(ToAnsiWin32, BytesOfTheCodePage) {
    struct Case {
        const char* codePage;
        std::u16string text;
        Bytes bytes;
        std::optional<Unmappable> unmappable;
    } cases[] = {
        {"CP936", u"打印", {0xB4, 0xF2, 0xD3, 0xA1}, {}},
        {"CP1252", u"é", {0xE9}, {}},
        {"CP1252", u"e\u0301", {0xE9}, {}},       // composed
        {"CP932", u"か\u3099", {0x82, 0xAA}, {}}, // a kana voicing mark composes too
        {"CP1252", u"Ae\u0301打x", {0x41, 0xE9, 0x3F, 0x78}, Unmappable{U'打', 3}},
        {"CP1252", u"\u0101", {0x3F}, Unmappable{U'\u0101', 0}}, // no look-alike "a"
        {"CP1252", std::u16string(u"AB\0C", 4), {0x41, 0x42}, {}},
        {"UTF-8", u"打印", {0xE6, 0x89, 0x93, 0xE5, 0x8D, 0xB0}, {}},
        {"UTF-8", u"e\u0301", {0xC3, 0xA9}, {}},
        {"UTF-8", std::u16string{0xD800, u'x'}, {0x3F, 0x78}, Unmappable{0xD800, 0}},
        {"CP1252", u"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const AnsiText result = ToAnsiChecked(c.text, {c.codePage});
        EXPECT_EQ(result.bytes, c.bytes);
        ASSERT_EQ(result.unmappable.has_value(), c.unmappable.has_value());
        if (c.unmappable) {
            EXPECT_EQ(result.unmappable->character, c.unmappable->character);
            EXPECT_EQ(result.unmappable->position, c.unmappable->position);
        }
    }
}

TEST(ToAnsiWin32, CodePages) {
    struct Case {
        const char* name;
        std::optional<unsigned> number;
        std::optional<CodePageProblem> problem;
    } cases[] = {
        {"936", 936, {}},
        {"CP936", 936, {}},
        {"cp1252", 1252, {}},
        {"windows-1251", 1251, {}},
        {"UTF-8", 65001, {}},
        {"Shift_JIS", 932, {}},
        {"CP37", 37, CodePageProblem::NotAsciiSuperset},     // EBCDIC
        {"65000", 65000, CodePageProblem::NotAsciiSuperset}, // UTF-7
        {"NO-SUCH", {}, CodePageProblem::Unknown},
        {"CP", {}, CodePageProblem::Unknown},
        {"99999", {}, CodePageProblem::Unknown},
    };
    // Wine 8 has no converter for it; only the name is checked.
    EXPECT_EQ(CodePageNumber("GB18030"), 54936u);
    for (const Case& c : cases) {
        EXPECT_EQ(CodePageNumber(c.name), c.number) << c.name;
        EXPECT_EQ(CheckCodePage({c.name}), c.problem) << c.name;
    }
}

TEST(ToAnsiWin32, CodePageFromTheEnvironment) {
    ASSERT_EQ(_putenv_s("TERVAN_ANSI_CODEPAGE", "936"), 0);
    EXPECT_EQ(ToAnsi(u"打印"), (Bytes{0xB4, 0xF2, 0xD3, 0xA1}));
    ASSERT_EQ(_putenv_s("TERVAN_ANSI_CODEPAGE", "CP1252"), 0);
    EXPECT_EQ(ToAnsi(u"Café"), (Bytes{0x43, 0x61, 0x66, 0xE9}));
    ASSERT_EQ(_putenv_s("TERVAN_ANSI_CODEPAGE", ""), 0);
}

} // namespace
} // namespace tervan
