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
    // The serial port's own box about its line state: a window shows it without owner or icon.
    bool portOwn = false;
};

// The message boxes a failed open shows, in order (none for Opened or Closed), in the given
// language: the one table of them for every front end, which may add a line under the last.
std::vector<MessageText> OpenFailureBoxes(const OpenResult& result, Language language);

// OpenFailureBoxes with the port ("USB" for the first USB printer when `port` is empty) and the
// reason on a second line of the last one, so the user can tell a missing port from a busy one.
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
