#pragma once

#include <ostream>
#include <string_view>

namespace tervan::cli {

// How this system's ports are named to --port: the option's help, and what a missing --port asks
// for.
std::string_view PortOptionHelp();
std::string_view PortOptionWanted();

// The USB printers present and the serial ports, as `tervan-cli ports` shows them: one
// "usb:BUS-PORT: ..." line per printer (or "usb: not found"), then one "serial: NAME" line per
// port.
void PrintPorts(std::ostream& out);

} // namespace tervan::cli
