#pragma once

#include "link/Link.h"

#include <string>
#include <string_view>

namespace tervan {

// The system ANSI code page as Windows would pick it for this user. `name` is what the
// converter understands ("CP936", "UTF-8", or a locale's own codeset such as "GB18030").
struct AnsiCodePage {
    std::string name;
};

// TERVAN_ANSI_CODEPAGE (a number such as 936 or 65001, or a codeset name) when set; else from the
// ctype locale (LC_ALL, LC_CTYPE, LANG).
AnsiCodePage SystemAnsiCodePage();
// The rule for one locale name such as "zh_CN.UTF-8", "ru_RU", "de_DE.ISO-8859-15" or "C".
AnsiCodePage AnsiCodePageForLocale(std::string_view locale);

// Text to the bytes of the code page, without a terminator, up to a NUL character if the text
// holds one. Characters the code page lacks become its default character "?". The output is as
// long as it needs to be, whatever the code page (UTF-8 and GB18030 take up to 4 bytes a
// character).
Bytes ToAnsi(std::u16string_view text, const AnsiCodePage& codePage);
Bytes ToAnsi(std::u16string_view text);

} // namespace tervan
