#include "link/UsbPort.h"

// What every USB binding shares: the printer's name by its place, and the first one found.
namespace tervan {

std::string UsbLocationName(const UsbLocation& location) {
    return std::to_string(location.bus) + "-" + location.portPath;
}

std::optional<UsbLocation> LocateUsbPrinter() {
    std::vector<UsbLocation> printers = ListUsbPrinters();
    if (printers.empty()) {
        return std::nullopt;
    }
    return std::move(printers.front());
}

} // namespace tervan
