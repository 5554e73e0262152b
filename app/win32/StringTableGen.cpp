// Writes the window's string tables as a resource script, from the program's tables of message
// texts (the shared one and the windows' own), so they can never disagree. Built and run on the
// build machine.
#include "form/WindowStrings.h"
#include "protocol/Strings.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kFirstId = 101;
constexpr int kLastId = 134;

// UTF-8 to UTF-16 code units; the texts are the program's own and well-formed.
std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const int length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? byte : byte & (0x7F >> length);
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k) {
            c = (c << 6) |
                (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        i += static_cast<std::size_t>(length);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

// A wide string literal the resource compiler reads the same on every host: printable ASCII as
// it is, everything else (and the quote and backslash) as a four-digit escape.
std::string Literal(std::string_view text) {
    std::string out = "L\"";
    for (char16_t unit : ToUtf16(text)) {
        if (unit >= 0x20 && unit < 0x7F && unit != u'"' && unit != u'\\') {
            out += static_cast<char>(unit);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\x%04X", static_cast<unsigned>(unit));
            out += escape;
        }
    }
    return out + "\"";
}

void WriteTable(const char* language, tervan::Language which) {
    std::printf("LANGUAGE %s\nSTRINGTABLE\nBEGIN\n", language);
    for (int id = kFirstId; id <= kLastId; ++id) {
        std::string_view text = tervan::LoadString(static_cast<tervan::StringId>(id), which);
        if (text.empty()) {
            text = tervan::LoadString(static_cast<tervan::WindowString>(id), which);
        }
        if (!text.empty()) {
            std::printf("    %d %s\n", id, Literal(text).c_str());
        }
    }
    std::printf("END\n\n");
}

} // namespace

int main() {
    std::printf(
        "// Generated from protocol/Strings.cpp and form/WindowStrings.cpp; do not edit.\n\n");
    WriteTable("LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", tervan::Language::Chinese);
    WriteTable("LANG_ENGLISH, SUBLANG_ENGLISH_US", tervan::Language::English);
    return 0;
}
