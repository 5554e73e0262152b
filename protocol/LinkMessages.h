#pragma once

#include "link/PrinterLinks.h"
#include "protocol/Strings.h"

#include <string>
#include <vector>

namespace tervan {

struct MessageText {
    std::string text;
    std::string caption;
};

// The message boxes a failed open shows, in order (none for Opened), in the given language.
std::vector<MessageText> OpenFailureMessages(OpenOutcome outcome, Language language);

} // namespace tervan
