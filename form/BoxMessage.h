#pragma once

#include <optional>
#include <string>

namespace tervan {

// One message box a window shows: modal, with an OK button.
struct BoxMessage {
    std::string text;
    std::optional<std::string> caption = {}; // none: the platform's default caption
    bool informationIcon = true;
    // Owned by the window; the one box without an owner is the serial port's "BuildCommDCB".
    bool owned = true;

    bool operator==(const BoxMessage&) const = default;
};

} // namespace tervan
