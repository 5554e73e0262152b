#include "cli/Terminal.h"

#include <io.h>

#include <cstdio>

namespace tervan::cli {

bool StderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

} // namespace tervan::cli
