#pragma once

namespace tervan::cli {

enum ExitCode : int {
    kExitDone = 0,
    kExitFailed = 1,   // the printer conversation failed
    kExitBadInput = 2, // nothing opened, nothing sent
    kExitNoLink = 3,   // the link could not be opened
};

} // namespace tervan::cli
