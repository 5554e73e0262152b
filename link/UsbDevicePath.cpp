#include "link/UsbDevicePath.h"

namespace tervan {

bool IsPrinterDevicePath(std::u16string_view devicePath) {
    return devicePath.find(kPrinterPathMarker) != std::u16string_view::npos;
}

std::optional<std::u16string> OpenPathFor(std::u16string_view devicePath) {
    if (devicePath.size() < kDevicePathPrefixLength) {
        return std::nullopt;
    }
    std::u16string openPath(kOpenPathPrefix);
    openPath.append(devicePath.substr(kDevicePathPrefixLength));
    return openPath;
}

std::optional<std::u16string> FindPrinterOpenPath(std::span<const std::u16string> devicePaths) {
    for (const std::u16string& path : devicePaths) {
        if (IsPrinterDevicePath(path)) {
            return OpenPathFor(path);
        }
    }
    return std::nullopt;
}

} // namespace tervan
