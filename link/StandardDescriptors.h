#pragma once

namespace tervan {

// Opens /dev/null on any of standard input, output and error that is closed. Call it first thing
// in a program: otherwise the next file opened (the printer's port) would take the free number,
// and every message written to "standard error" would go to the printer.
void EnsureStandardDescriptors();

} // namespace tervan
