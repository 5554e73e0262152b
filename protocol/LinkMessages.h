#pragma once

#include "link/PrinterLinks.h"
#include "protocol/Strings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tervan {

struct MessageText {
    std::string text;
    std::string caption;
};

// The message boxes a failed open shows, in order (none for Opened or Closed), in the given
// language. The texts are the tool's own; the last one gets a second line naming the port ("USB"
// for the first USB printer when `port` is empty) and the reason, so the user can tell a
// missing port from a busy one.
std::vector<MessageText> OpenFailureMessages(const OpenResult& result, std::string_view port,
                                             Language language);

// The reason as a short phrase, in the given language.
std::string OpenFailureReason(const OpenResult& result, bool usb, Language language);

// The system's error number `error` in English words, as the system numbers its errors (errno, or
// a Windows error code).
std::string SystemErrorText(int error);

// One line a front end may add where the cause has a known remedy (permission denied: the udev rule
// for USB; for a serial port the dialout group where that group may open it, else the port's
// owner, group and mode; a USB printer held by another program); nullopt otherwise.
std::optional<std::string> OpenFailureHint(const OpenResult& result, bool usb, Language language);

} // namespace tervan
