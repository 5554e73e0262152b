#include "protocol/ToAnsiWin32.h"
#include "protocol/ToAnsi.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tervan {
namespace {

TEST(ToAnsiWin32, BytesOfTheCodePage) {
    struct Case {
        unsigned codePage;
        std::u16string text;
        Bytes bytes;
        bool usedDefault;
    } cases[] = {
        {936, u"中", {0xD6, 0xD0}, false},
        {936, u"打印", {0xB4, 0xF2, 0xD3, 0xA1}, false},
        {1252, u"é", {0xE9}, false},
        {1252, u"e\u0301", {0xE9}, false}, // composed
        {1252, u"打", {0x3F}, true},
        {1252, u"\u0101", {0x3F}, true}, // no look-alike "a" in its place
        {1252, std::u16string(u"AB\0C", 4), {0x41, 0x42}, false},
        {65001, u"打印", {0xE6, 0x89, 0x93, 0xE5, 0x8D, 0xB0}, false},
        {65001, u"e\u0301", {0xC3, 0xA9}, false},
        {65001, std::u16string{0xD800, u'x'}, {0x3F, 0x78}, true}, // a lone surrogate
        {1252, u"", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const AnsiConversion result = WideToCodePage(c.text, c.codePage);
        EXPECT_EQ(result.bytes, c.bytes);
        EXPECT_EQ(result.usedDefaultChar, c.usedDefault);
    }
}

TEST(ToAnsiWin32, CodePageNames) {
    struct Case {
        const char* name;
        std::optional<unsigned> codePage;
    } cases[] = {
        {"936", 936},           {"CP936", 936},     {"cp1252", 1252},
        {"windows-1251", 1251}, {"UTF-8", 65001},   {"utf8", 65001},
        {"GB18030", 54936},     {"Shift_JIS", 932}, {"NO-SUCH", std::nullopt},
        {"CP", std::nullopt},   {"", std::nullopt}, {"99999", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CodePageNumber(c.name), c.codePage) << c.name;
    }
}

TEST(ToAnsiWin32, FirstUnmappableCharacter) {
    EXPECT_EQ(FirstUnmappable(u"Ae\u0301打x", 1252), 3u);
    EXPECT_EQ(FirstUnmappable(u"Ae\u0301", 1252), std::nullopt);
    EXPECT_EQ(FirstUnmappable(u"中文", 936), std::nullopt);
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
