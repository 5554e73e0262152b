#include "base/Utf.h"

#include <cstdint>

namespace tervan {

namespace {

// The length a lead byte announces; 0 for a byte that starts no character.
std::size_t SequenceLength(std::uint8_t lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

bool IsContinuation(char byte) {
    return (static_cast<std::uint8_t>(byte) & 0xC0) == 0x80;
}

// The character at the start of `text` and its length in bytes; nothing when the bytes there are
// not a well-formed character.
struct Decoded {
    char32_t code;
    std::size_t length;
};

std::optional<Decoded> DecodeOne(std::string_view text) {
    static constexpr std::uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    static constexpr std::uint8_t kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    const auto lead = static_cast<std::uint8_t>(text[0]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || length > text.size()) {
        return std::nullopt;
    }
    std::uint32_t code = lead & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k) {
        if (!IsContinuation(text[k])) {
            return std::nullopt;
        }
        code = (code << 6) | (static_cast<std::uint8_t>(text[k]) & 0x3Fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (code < kMinimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{code, length};
}

void AppendUtf16(std::u16string& out, std::uint32_t code) {
    if (code >= 0x10000) {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(code));
    }
}

} // namespace

std::optional<std::u16string> Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto decoded = DecodeOne(text);
        if (!decoded) {
            return std::nullopt;
        }
        AppendUtf16(out, decoded->code);
        text.remove_prefix(decoded->length);
    }
    return out;
}

std::u16string Utf8ToUtf16Lossy(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto decoded = DecodeOne(text);
        AppendUtf16(out, decoded ? decoded->code : 0xFFFD);
        text.remove_prefix(decoded ? decoded->length : 1);
    }
    return out;
}

std::size_t WholeUtf8Length(std::string_view text) {
    // A character takes at most four bytes: its start, if it is cut off, is among the last three.
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const std::size_t at = text.size() - back;
        if (!IsContinuation(text[at])) {
            return SequenceLength(static_cast<std::uint8_t>(text[at])) > back ? at : text.size();
        }
    }
    return text.size();
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

} // namespace tervan
