#pragma once

namespace tervan::cli {

// True when standard error is a terminal, where a line redrawn in place shows as one line.
bool StderrIsTerminal();

} // namespace tervan::cli
