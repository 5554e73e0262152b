#include "cli/SystemPorts.h"

#include "link/PortListWin32.h"
#include "link/UsbPort.h"

#include <string>

namespace tervan::cli {

std::string_view PortOptionHelp() {
    return "usb, or a COM port such as COM3";
}

std::string_view PortOptionWanted() {
    return "usb or a COM port such as COM3";
}

void PrintPorts(std::ostream& out) {
    if (const auto usb = UsbPrinterDevicePath()) {
        out << "usb: 0483:5720 at " << *usb << '\n';
    } else {
        out << "usb: not found\n";
    }
    for (const std::string& port : RegistrySerialPorts()) {
        out << "serial: " << port << '\n';
    }
}

} // namespace tervan::cli
