#pragma once

#include "cli/LinkOptions.h"

#include <cstddef>
#include <ostream>
#include <string>

namespace tervan::cli {

// Where one printer's conversation runs and reports.
struct PortRunSetup {
    LineSettings line;
    PauseFn pause;
    const StopToken& stop;
    SayFn say;
    SayFn note;
    std::ostream* trace = nullptr; // every write and read, when asked for
    bool many = false;
};

struct PortRunResult {
    int status = 1;
    bool stopped = false; // a stop came before the printer was done
    std::size_t bytesSent = 0;
};

// One printer, exactly as when it is the only one: its own links, opened, settled, `work` run,
// closed. A failed open is told through `say` with its hint, as is a printer that vanished.
PortRunResult RunOnPort(const std::string& name, const PortRunSetup& setup, const Work& work);

} // namespace tervan::cli
