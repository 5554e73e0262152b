#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// How the printer is recognised among the device paths that Windows lists for USB devices. Pure
// string rules, so every platform can check them.
namespace tervan {

// Vendor 0483, product 5720, spelled as the system spells them in its device paths. The match is
// case-sensitive: the same numbers in upper case are not taken for the printer.
inline constexpr std::u16string_view kPrinterPathMarker = u"vid_0483&pid_5720";

// The system's own prefix of a device path, and the one the device is opened under instead.
inline constexpr std::size_t kDevicePathPrefixLength = 4;
inline constexpr std::u16string_view kOpenPathPrefix = u"\\\\.\\";

bool IsPrinterDevicePath(std::u16string_view devicePath);

// The device path with "\\.\" in place of its first four characters, same length otherwise; empty
// for a path too short to carry the prefix.
std::optional<std::u16string> OpenPathFor(std::u16string_view devicePath);

// The open path of the first printer among device paths given in enumeration order.
std::optional<std::u16string> FindPrinterOpenPath(std::span<const std::u16string> devicePaths);

} // namespace tervan
