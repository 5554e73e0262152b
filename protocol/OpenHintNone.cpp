#include "protocol/LinkMessages.h"

// Systems whose open failures have no remedy the program knows of.
namespace tervan {

std::optional<std::string> OpenFailureHint(const OpenResult& /*result*/, bool /*usb*/,
                                           Language /*language*/) {
    return std::nullopt;
}

} // namespace tervan
