#include "link/PortListLinux.h"
#include "link/PortList.h"

#include <fstream>
#include <system_error>

namespace tervan {

namespace {

// ttyS0..ttyS31 exist whether or not a UART does; the kernel reports the empty ones as type 0.
bool IsEmptyUartSlot(const std::filesystem::path& entry, const std::string& name) {
    if (name.rfind("ttyS", 0) != 0) {
        return false;
    }
    std::ifstream typeFile(entry / "type");
    int type = -1;
    return static_cast<bool>(typeFile >> type) && type == 0;
}

} // namespace

std::vector<std::string> SysfsSerialPorts(const std::filesystem::path& ttyClassDir) {
    std::vector<std::string> ports;
    std::error_code error;
    for (std::filesystem::directory_iterator it(ttyClassDir, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& entry = it->path();
        const std::string name = entry.filename().string();
        // Virtual terminals, ptys and the console have no device behind them.
        std::error_code linkError;
        if (!std::filesystem::exists(
                std::filesystem::symlink_status(entry / "device", linkError))) {
            continue;
        }
        if (IsEmptyUartSlot(entry, name)) {
            continue;
        }
        ports.push_back("/dev/" + name);
    }
    return ports;
}

std::vector<std::string> ListPorts(const std::string& given) {
    return ArrangePorts(SysfsSerialPorts("/sys/class/tty"), given);
}

} // namespace tervan
