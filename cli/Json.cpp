#include "cli/Json.h"

#include "base/Utf.h"

#include <cstdio>

namespace tervan::cli {

std::string JsonString(std::string_view raw) {
    // JSON is UTF-8: a port name of other bytes shows them as U+FFFD rather than break the line.
    const std::string text =
        Utf8ToUtf16(raw) ? std::string(raw) : Utf16ToUtf8(Utf8ToUtf16Lossy(raw));
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                out += escape;
            } else {
                out += c; // UTF-8 passes as it stands
            }
        }
    }
    return out + "\"";
}

} // namespace tervan::cli
