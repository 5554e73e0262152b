// Writes the window's string tables as a resource script, from the program's tables of message
// texts (the shared one and the windows' own), so they can never disagree. Built and run on the
// build machine.
#include "base/Utf.h"
#include "form/WindowStrings.h"
#include "protocol/Strings.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

// The texts' ids start at 101; an id without a text in either table is skipped, so a new text
// needs no change here as long as its id stays below the end of the range.
constexpr int kFirstId = 101;
constexpr int kLastId = 299;

// A wide string literal the resource compiler reads the same on every host: printable ASCII as
// it is, everything else (and the quote and backslash) as a four-digit escape.
std::string Literal(std::string_view text) {
    std::string out = "L\"";
    for (char16_t unit : tervan::Utf8ToUtf16Lossy(text)) {
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

// False when an id has a text in both tables: one of them would be lost.
bool WriteTable(const char* language, tervan::Language which) {
    std::printf("LANGUAGE %s\nSTRINGTABLE\nBEGIN\n", language);
    for (int id = kFirstId; id <= kLastId; ++id) {
        const std::string_view shared =
            tervan::LoadString(static_cast<tervan::StringId>(id), which);
        const std::string_view own =
            tervan::LoadString(static_cast<tervan::WindowString>(id), which);
        if (!shared.empty() && !own.empty()) {
            std::fprintf(stderr, "string %d is in both tables\n", id);
            return false;
        }
        if (const std::string_view text = shared.empty() ? own : shared; !text.empty()) {
            std::printf("    %d %s\n", id, Literal(text).c_str());
        }
    }
    std::printf("END\n\n");
    return true;
}

} // namespace

int main() {
    std::printf(
        "// Generated from protocol/Strings.cpp and form/WindowStrings.cpp; do not edit.\n\n");
    const bool written =
        WriteTable("LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", tervan::Language::Chinese) &&
        WriteTable("LANG_ENGLISH, SUBLANG_ENGLISH_US", tervan::Language::English);
    return written ? 0 : 1;
}
