#include "protocol/ToAnsi.h"

#include <bit>
#include <iconv.h>
#include <memory>

namespace tervan {

namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Converts one character (one or two UTF-16 units); false when the code page lacks it.
bool ConvertOne(iconv_t cd, std::u16string_view unit, Bytes& out) {
    char16_t in[2] = {unit[0], unit.size() > 1 ? unit[1] : u'\0'};
    char buffer[16];
    char* inPtr = reinterpret_cast<char*>(in);
    std::size_t inLeft = unit.size() * sizeof(char16_t);
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // fresh shift state for every character
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
        return false;
    }
    // Stateful encodings return to their initial state after each character.
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.insert(out.end(), buffer, outPtr);
    return true;
}

} // namespace

Bytes ToAnsi(std::u16string_view text, const AnsiCodePage& codePage) {
    const std::u16string_view untilNul = text.substr(0, text.find(u'\0'));
    Bytes out;
    out.reserve(untilNul.size() * 2);
    constexpr const char* kUtf16 =
        std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
    IconvHandle cd(iconv_open(codePage.name.c_str(), kUtf16));
    if (cd.get() == reinterpret_cast<iconv_t>(-1)) {
        cd.release();
        // An unknown code page cannot convert anything: every non-ASCII character gets the
        // default character rather than bytes the printer would misread.
        for (char16_t c : untilNul) {
            if (IsLowSurrogate(c)) {
                continue;
            }
            out.push_back(c < 0x80 ? static_cast<std::uint8_t>(c) : std::uint8_t{'?'});
        }
        return out;
    }
    for (std::size_t i = 0; i < untilNul.size();) {
        const std::size_t units = (IsHighSurrogate(untilNul[i]) && i + 1 < untilNul.size() &&
                                   IsLowSurrogate(untilNul[i + 1]))
                                      ? 2
                                      : 1;
        if (!ConvertOne(cd.get(), untilNul.substr(i, units), out)) {
            out.push_back('?');
        }
        i += units;
    }
    return out;
}

Bytes ToAnsi(std::u16string_view text) {
    return ToAnsi(text, SystemAnsiCodePage());
}

} // namespace tervan
