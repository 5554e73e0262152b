#include "cli/SystemPorts.h"

#include "link/PortListWin32.h"
#include "link/UsbPort.h"

#include <string>

namespace tervan::cli {

std::string_view PortOptionHelp() {
    return "usb (the first USB printer), or a COM port such as COM3";
}

std::string_view PortOptionWanted() {
    return "usb or a COM port such as COM3";
}

void PrintPorts(std::ostream& out) {
    const std::vector<UsbLocation> printers = ListUsbPrinters();
    if (printers.empty()) {
        out << "usb: not found\n";
    }
    for (const UsbLocation& usb : printers) {
        out << "usb:" << UsbLocationName(usb) << ": 0483:5720 on hub " << usb.bus << " port "
            << usb.portPath << '\n';
    }
    for (const std::string& port : RegistrySerialPorts()) {
        out << "serial: " << port << '\n';
    }
}

} // namespace tervan::cli
