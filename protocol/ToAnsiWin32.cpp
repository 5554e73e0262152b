#include "protocol/ToAnsiWin32.h"
#include "protocol/ToAnsi.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>

namespace tervan {

namespace {

constexpr DWORD kConversionFlags = WC_COMPOSITECHECK | WC_DEFAULTCHAR | WC_NO_BEST_FIT_CHARS;

struct NamedCodePage {
    std::string_view name; // lower case, without separators
    unsigned codePage;
};
constexpr NamedCodePage kNames[] = {
    {"utf8", 65001},     {"gb18030", 54936},  {"gbk", 936},        {"gb2312", 936},
    {"big5", 950},       {"shiftjis", 932},   {"sjis", 932},       {"euckr", 949},
    {"eucjp", 20932},    {"koi8r", 20866},    {"koi8u", 21866},    {"ascii", 20127},
    {"iso88591", 28591}, {"iso88592", 28592}, {"iso88595", 28595}, {"iso885915", 28605},
};

// Code pages that take neither the conversion flags nor a "used default char" report; the
// multi-byte Unicode forms among them hold every character but a lone surrogate.
bool RefusesFlags(unsigned codePage) {
    return codePage == 42 || codePage == 54936 || codePage == 65000 || codePage == 65001 ||
           (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011);
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// UTF-16 units of the character that starts at `i`.
std::size_t UnitsAt(std::u16string_view text, std::size_t i) {
    return IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
}

std::optional<std::size_t> FindLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
        if (IsHighSurrogate(text[i]) || IsLowSurrogate(text[i])) {
            if (UnitsAt(text, i) == 1) {
                return i;
            }
        }
    }
    return std::nullopt;
}

std::wstring ToWide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

// Canonical composition, which the flag-refusing code pages do not do themselves.
std::wstring Composed(const std::wstring& text) {
    int room =
        ::NormalizeString(NormalizationC, text.data(), static_cast<int>(text.size()), nullptr, 0);
    for (int attempt = 0; attempt < 4 && room > 0; ++attempt) {
        std::wstring out(static_cast<std::size_t>(room), L'\0');
        const int length = ::NormalizeString(NormalizationC, text.data(),
                                             static_cast<int>(text.size()), out.data(), room);
        if (length > 0) {
            out.resize(static_cast<std::size_t>(length));
            return out;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
        room = -length; // the call's new estimate
    }
    return text;
}

// One WideCharToMultiByte conversion; empty when the call refuses the code page or the flags.
std::optional<AnsiConversion> Convert(const std::wstring& text, unsigned codePage, DWORD flags,
                                      bool reportDefault) {
    AnsiConversion result;
    BOOL usedDefault = FALSE;
    BOOL* used = reportDefault ? &usedDefault : nullptr;
    if (text.size() > INT_MAX / 4) {
        return std::nullopt;
    }
    const int length = static_cast<int>(text.size());
    const int needed =
        ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, used);
    if (needed <= 0) {
        return std::nullopt;
    }
    result.bytes.resize(static_cast<std::size_t>(needed));
    const int written =
        ::WideCharToMultiByte(codePage, flags, text.data(), length,
                              reinterpret_cast<char*>(result.bytes.data()), needed, nullptr, used);
    if (written <= 0) {
        return std::nullopt;
    }
    result.bytes.resize(static_cast<std::size_t>(written));
    result.usedDefaultChar = usedDefault != FALSE;
    return result;
}

// For a code page the system cannot convert to: ASCII as it is, everything else the default
// character, so the printer never gets bytes it would misread.
AnsiConversion AsciiOnly(std::u16string_view text) {
    AnsiConversion result;
    for (std::size_t i = 0; i < text.size(); i += UnitsAt(text, i)) {
        const bool ascii = text[i] < 0x80;
        result.bytes.push_back(ascii ? static_cast<std::uint8_t>(text[i]) : std::uint8_t{'?'});
        result.usedDefaultChar = result.usedDefaultChar || !ascii;
    }
    return result;
}

} // namespace

std::optional<unsigned> CodePageNumber(std::string_view name) {
    std::string key;
    for (char c : name) {
        if (c != '-' && c != '_' && c != ' ') {
            key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    for (std::string_view prefix : {"cp", "windows", "ibm"}) {
        if (key.starts_with(prefix) && key.size() > prefix.size()) {
            key.erase(0, prefix.size());
            break;
        }
    }
    unsigned number = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    if (error == std::errc{} && end == key.data() + key.size() && number > 0 &&
        number <= USHRT_MAX) {
        return number;
    }
    for (const NamedCodePage& entry : kNames) {
        if (entry.name == key) {
            return entry.codePage;
        }
    }
    return std::nullopt;
}

AnsiConversion WideToCodePage(std::u16string_view text, unsigned codePage) {
    const std::u16string_view untilNul = text.substr(0, text.find(u'\0'));
    if (untilNul.empty()) {
        return {};
    }
    if (!RefusesFlags(codePage)) {
        if (auto result = Convert(ToWide(untilNul), codePage, kConversionFlags, true)) {
            return *result;
        }
    }
    // Flags 0 and no report: compose first, and put the default character in place of lone
    // surrogates, the only characters these code pages cannot hold.
    std::u16string cleaned(untilNul);
    bool lone = false;
    while (const auto at = FindLoneSurrogate(cleaned)) {
        cleaned[*at] = u'?';
        lone = true;
    }
    if (auto result = Convert(Composed(ToWide(cleaned)), codePage, 0, false)) {
        result->usedDefaultChar = lone;
        return *result;
    }
    return AsciiOnly(untilNul);
}

std::optional<std::size_t> FirstUnmappable(std::u16string_view text, unsigned codePage) {
    const std::u16string_view untilNul = text.substr(0, text.find(u'\0'));
    if (!WideToCodePage(untilNul, codePage).usedDefaultChar) {
        return std::nullopt;
    }
    // A character with its combining marks is tried as one, so a letter that composes into the
    // code page is not blamed for its accent.
    for (std::size_t i = 0; i < untilNul.size();) {
        std::size_t end = i + UnitsAt(untilNul, i);
        while (end < untilNul.size() && untilNul[end] >= 0x0300 && untilNul[end] <= 0x036F) {
            ++end;
        }
        if (WideToCodePage(untilNul.substr(i, end - i), codePage).usedDefaultChar) {
            return i;
        }
        i = end;
    }
    return std::nullopt;
}

Bytes ToAnsi(std::u16string_view text, const AnsiCodePage& codePage) {
    const std::optional<unsigned> number = CodePageNumber(codePage.name);
    if (!number) {
        return AsciiOnly(text.substr(0, text.find(u'\0'))).bytes;
    }
    return WideToCodePage(text, *number).bytes;
}

Bytes ToAnsi(std::u16string_view text) {
    return ToAnsi(text, SystemAnsiCodePage());
}

} // namespace tervan
