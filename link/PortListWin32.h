#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tervan {

// The form's port list on Windows names COM1 to COM19.
inline constexpr unsigned kFormComPorts = 19;

// "COM5" (any case) as the device path that opens it, "\\.\COM5"; the path form is needed from
// COM10 on and works for every port. Anything else is taken as a device path already.
std::string ComDevicePath(std::string_view port);

// The serial ports this system has, as "COM3" and the like, in natural order: the values under
// HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, where each port driver enters its port.
std::vector<std::string> RegistrySerialPorts();

} // namespace tervan
