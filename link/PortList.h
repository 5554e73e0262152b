#pragma once

#include <string>
#include <vector>

namespace tervan {

// The entry of the port list that selects the USB link; always the first.
inline constexpr const char* kUsbPortName = "USB";

// "USB", then the serial ports this system has. A given path (the user's own choice) comes
// first among the serial ports, so it is the one selected at start, and is not listed twice.
std::vector<std::string> ListPorts(const std::string& given = {});

// The ordering rule of ListPorts over ports already found: "USB", the given path, then the
// others in natural order (ttyS2 before ttyS10), each once.
std::vector<std::string> ArrangePorts(std::vector<std::string> found, const std::string& given);

// Natural order: runs of digits compare by their value, everything else byte by byte.
bool NaturalLess(const std::string& a, const std::string& b);

} // namespace tervan
