#include "protocol/ToAnsi.h"

#include <windows.h>

namespace tervan {

AnsiCodePage NativeAnsiCodePage() {
    // The system's own ANSI code page, as CP_ACP would use it.
    return AnsiCodePageNumbered(static_cast<int>(::GetACP()));
}

} // namespace tervan
