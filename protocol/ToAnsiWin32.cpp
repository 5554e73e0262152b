#include "protocol/ToAnsiWin32.h"
#include "protocol/CodePageEncoder.h"

#include <windows.h>

#include <cctype>
#include <charconv>
#include <climits>
#include <string>

namespace tervan {

namespace {

// WC_NO_BEST_FIT_CHARS keeps look-alikes ("a" for "ā") out; the default character that takes
// their place is reported through lpUsedDefaultChar.
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

// Code pages that take neither the conversion flags nor a "used default char" report.
bool RefusesFlags(unsigned codePage) {
    return codePage == 42 || codePage == 54936 || codePage == 65000 || codePage == 65001 ||
           (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011);
}

std::wstring Utf16Of(char32_t c) {
    if (c < 0x10000) {
        return std::wstring(1, static_cast<wchar_t>(c));
    }
    const char32_t v = c - 0x10000;
    return {static_cast<wchar_t>(0xD800 + (v >> 10)), static_cast<wchar_t>(0xDC00 + (v & 0x3FF))};
}

std::optional<Bytes> Convert(const std::wstring& text, unsigned codePage, DWORD flags,
                             BOOL* usedDefault) {
    const int length = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0,
                                             nullptr, usedDefault);
    if (needed <= 0) {
        return std::nullopt;
    }
    Bytes bytes(static_cast<std::size_t>(needed));
    const int written =
        ::WideCharToMultiByte(codePage, flags, text.data(), length,
                              reinterpret_cast<char*>(bytes.data()), needed, nullptr, usedDefault);
    if (written <= 0) {
        return std::nullopt;
    }
    bytes.resize(static_cast<std::size_t>(written));
    return bytes;
}

// Without a default-character report, a character holds only if its bytes read back as itself.
bool ReadsBackAs(const Bytes& bytes, unsigned codePage, const std::wstring& text) {
    const int bytesLength = static_cast<int>(bytes.size());
    const auto* raw = reinterpret_cast<const char*>(bytes.data());
    const int needed = ::MultiByteToWideChar(codePage, 0, raw, bytesLength, nullptr, 0);
    if (needed <= 0) {
        return false;
    }
    std::wstring back(static_cast<std::size_t>(needed), L'\0');
    return ::MultiByteToWideChar(codePage, 0, raw, bytesLength, back.data(), needed) == needed &&
           back == text;
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

struct CodePageEncoder::Impl {
    unsigned codePage = 0; // 0: the system cannot convert to the code page named
};

CodePageEncoder::CodePageEncoder(const AnsiCodePage& codePage) : m_impl(std::make_unique<Impl>()) {
    const std::optional<unsigned> number = CodePageNumber(codePage.name);
    if (number && ::IsValidCodePage(*number)) {
        m_impl->codePage = *number;
    }
}

CodePageEncoder::~CodePageEncoder() = default;

bool CodePageEncoder::IsOpen() const {
    return m_impl->codePage != 0;
}

std::optional<Bytes> CodePageEncoder::Encode(char32_t character) {
    if (!IsOpen() || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF)) {
        return std::nullopt;
    }
    const std::wstring text = Utf16Of(character);
    const unsigned codePage = m_impl->codePage;
    if (RefusesFlags(codePage)) {
        const std::optional<Bytes> bytes = Convert(text, codePage, 0, nullptr);
        if (!bytes || !ReadsBackAs(*bytes, codePage, text)) {
            return std::nullopt;
        }
        return bytes;
    }
    BOOL usedDefault = FALSE;
    const std::optional<Bytes> bytes = Convert(text, codePage, kConversionFlags, &usedDefault);
    if (!bytes || usedDefault) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace tervan
