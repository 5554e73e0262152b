#include "link/PortList.h"

#include <filesystem>
#include <system_error>

namespace tervan {

// macOS lists each serial port twice; the call-out device (/dev/cu.*) is the one that opens
// without waiting for a carrier.
std::vector<std::string> ListPorts(const std::string& given) {
    std::vector<std::string> found;
    std::error_code error;
    for (std::filesystem::directory_iterator it("/dev", error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().rfind("cu.", 0) == 0) {
            found.push_back(it->path().string());
        }
    }
    return ArrangePorts(found, given);
}

} // namespace tervan
