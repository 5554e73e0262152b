#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tervan {

// The serial ports under a sysfs tty class folder (normally /sys/class/tty) as /dev paths, in no
// particular order: entries backed by a device, less the ttyS slots with no UART behind them.
std::vector<std::string> SysfsSerialPorts(const std::filesystem::path& ttyClassDir);

} // namespace tervan
