#include "cli/Terminal.h"

#include <unistd.h>

namespace tervan::cli {

bool StderrIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

} // namespace tervan::cli
