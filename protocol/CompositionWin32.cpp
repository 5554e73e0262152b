#include "protocol/Composition.h"

#include <windows.h>

#include <string>

namespace tervan {

namespace {

std::wstring Utf16Of(char32_t c) {
    if (c < 0x10000) {
        return std::wstring(1, static_cast<wchar_t>(c));
    }
    const char32_t v = c - 0x10000;
    return {static_cast<wchar_t>(0xD800 + (v >> 10)), static_cast<wchar_t>(0xDC00 + (v & 0x3FF))};
}

// The one character a UTF-16 text holds, or 0 when it holds none or more than one.
char32_t SoleCharacter(const std::wstring& text) {
    if (text.size() == 1 && (text[0] < 0xD800 || text[0] > 0xDFFF)) {
        return text[0];
    }
    if (text.size() == 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 &&
        text[1] <= 0xDFFF) {
        return 0x10000 + ((static_cast<char32_t>(text[0]) - 0xD800) << 10) +
               (static_cast<char32_t>(text[1]) - 0xDC00);
    }
    return 0;
}

std::wstring NormalC(const std::wstring& text) {
    const int length = static_cast<int>(text.size());
    const int room = ::NormalizeString(NormalizationC, text.data(), length, nullptr, 0);
    if (room <= 0) {
        return {};
    }
    std::wstring out(static_cast<std::size_t>(room), L'\0');
    const int written = ::NormalizeString(NormalizationC, text.data(), length, out.data(), room);
    if (written <= 0) {
        return {};
    }
    out.resize(static_cast<std::size_t>(written));
    return out;
}

// The combining blocks whose marks join the Latin, Greek and Cyrillic letters.
constexpr char32_t kCombiningRanges[][2] = {
    {0x0300, 0x036F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF}, {0xFE20, 0xFE2F},
};

} // namespace

char32_t ComposePair(char32_t base, char32_t mark) {
    const std::wstring baseText = Utf16Of(base);
    // A base that normalisation itself would rewrite (U+212B) is kept as it is.
    if (NormalC(baseText) != baseText) {
        return 0;
    }
    return SoleCharacter(NormalC(baseText + Utf16Of(mark)));
}

bool IsCombiningMark(char32_t character) {
    for (const auto& range : kCombiningRanges) {
        if (character >= range[0] && character <= range[1]) {
            return true;
        }
    }
    // The other scripts' marks (the kana voicing marks, Indic and Thai signs) as the system
    // classes them. Only non-spacing ones: C3_DIACRITIC also takes "^" and "`", which stand alone.
    if (character >= 0x10000 || (character >= 0xD800 && character <= 0xDFFF)) {
        return false;
    }
    const wchar_t unit = static_cast<wchar_t>(character);
    WORD type = 0;
    return ::GetStringTypeW(CT_CTYPE3, &unit, 1, &type) && (type & C3_NONSPACING) != 0;
}

} // namespace tervan
