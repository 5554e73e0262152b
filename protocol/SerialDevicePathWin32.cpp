#include "protocol/LinkSession.h"

namespace tervan {

std::string SerialDevicePath(std::string_view name) {
    return ComDevicePath(name).value_or(std::string(name));
}

} // namespace tervan
