#include "protocol/ToAnsi.h"

#include <cstdlib>

namespace tervan {

AnsiCodePage NativeAnsiCodePage() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        if (const char* value = std::getenv(variable); value && *value) {
            return AnsiCodePageForLocale(value);
        }
    }
    return AnsiCodePageNumbered(1252);
}

} // namespace tervan
