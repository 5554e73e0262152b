#include "protocol/LinkSession.h"

namespace tervan {

std::string SerialDevicePath(std::string_view name) {
    return std::string(name);
}

} // namespace tervan
