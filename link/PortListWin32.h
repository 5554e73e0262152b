#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tervan {

// The form's port list on Windows names COM1 to COM19.
inline constexpr unsigned kFormComPorts = 19;

// The serial ports this system has, as "COM3" and the like, in natural order: the values under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, where each port driver enters its port.
std::vector<std::string> RegistrySerialPorts();

} // namespace tervan
