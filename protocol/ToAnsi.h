#pragma once

#include "base/Bytes.h"

#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The system ANSI code page as Windows would pick it for this user. `name` is what the
// converter understands ("CP936", "UTF-8", or a locale's own codeset such as "GB18030").
struct AnsiCodePage {
    std::string name;
    bool fromEnvironment = false; // chosen with TERVAN_ANSI_CODEPAGE rather than the locale
};

// TERVAN_ANSI_CODEPAGE (a number such as 936 or 65001, or a codeset name) when set; else from the
// ctype locale (LC_ALL, LC_CTYPE, LANG).
AnsiCodePage SystemAnsiCodePage();
// The system's own choice, TERVAN_ANSI_CODEPAGE aside: Windows' ANSI code page on Windows, else
// the rule for the ctype locale (LC_ALL, LC_CTYPE, LANG).
AnsiCodePage NativeAnsiCodePage();
// The rule for one locale name such as "zh_CN.UTF-8", "ru_RU", "de_DE.ISO-8859-15" or "C".
AnsiCodePage AnsiCodePageForLocale(std::string_view locale);
// Code page `number` by the converter's name: "UTF-8" for 65001, "CPn" for any other.
AnsiCodePage AnsiCodePageNumbered(int number);

// Why a code page cannot carry the printer's texts: the printer reads every command byte as
// ASCII, so a code page must hold printable ASCII as the same bytes.
enum class CodePageProblem {
    Unknown,          // the system cannot convert to it
    NotAsciiSuperset, // UTF-16, UTF-32, UTF-7, EBCDIC ...
};
std::optional<CodePageProblem> CheckCodePage(const AnsiCodePage& codePage);

// The first character of a text that the code page cannot hold.
struct Unmappable {
    char32_t character;   // as the user sees it: a base with its marks, composed where possible
    std::size_t position; // index in the text, in UTF-16 units
};

struct AnsiText {
    Bytes bytes; // unmappable characters as the default character "?"
    std::optional<Unmappable> unmappable;
};

// Text to the bytes of the code page, without a terminator, up to a NUL character if the text
// holds one. A base character and the combining marks after it become the precomposed character
// where one exists and the code page holds it (as WC_COMPOSITECHECK does); otherwise the longest
// composition the code page holds, followed by the remaining marks. Every other character stays
// as it is. The output is as long as it needs to be (UTF-8 and GB18030 take up to 4 bytes a
// character). An unknown code page passes ASCII through and reports the first character.
AnsiText ToAnsiChecked(std::u16string_view text, const AnsiCodePage& codePage);

// The bytes alone, for callers that have checked the text already or only count bytes.
Bytes ToAnsi(std::u16string_view text, const AnsiCodePage& codePage);
Bytes ToAnsi(std::u16string_view text);

} // namespace tervan
