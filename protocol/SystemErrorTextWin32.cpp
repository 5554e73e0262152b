#include "protocol/LinkMessages.h"

namespace tervan {

std::string SystemErrorText(int error) {
    // A Windows error code, which strerror would misread as an errno value.
    return "Windows error " + std::to_string(error);
}

} // namespace tervan
