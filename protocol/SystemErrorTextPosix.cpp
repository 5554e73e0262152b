#include "protocol/LinkMessages.h"

#include <cstring>

namespace tervan {

std::string SystemErrorText(int error) {
    // The C locale's text, English whatever the environment says.
    return error > 0 ? std::string(std::strerror(error)) : "error " + std::to_string(error);
}

} // namespace tervan
