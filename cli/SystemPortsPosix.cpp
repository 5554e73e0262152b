#include "cli/SystemPorts.h"

#include "link/PortList.h"
#include "link/UsbPort.h"

#include <string>

namespace tervan::cli {

std::string_view PortOptionHelp() {
    return "usb (the first USB printer), a serial device path such as /dev/ttyUSB0";
}

std::string_view PortOptionWanted() {
    return "usb or a serial device path";
}

void PrintPorts(std::ostream& out) {
    const std::vector<UsbLocation> printers = ListUsbPrinters();
    if (printers.empty()) {
        out << "usb: not found\n";
    }
    for (const UsbLocation& usb : printers) {
        out << "usb:" << UsbLocationName(usb) << ": 0483:5720 on bus " << usb.bus << " device "
            << usb.device << '\n';
    }
    for (const std::string& port : ListPorts()) {
        if (port != kUsbPortName) {
            out << "serial: " << port << '\n';
        }
    }
}

} // namespace tervan::cli
