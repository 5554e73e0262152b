#pragma once

#include "form/FormRules.h"
#include "link/PrinterLinks.h"
#include "protocol/Strings.h"

#include <string_view>

namespace tervan {

// What the window shows for the result of one click of the hidden open/close button 1006: the
// caption of 1006 and the port controls (nothing changes after a failed open, so the user can pick
// another port and try again), the title (`title`, the dialog's caption, with the link's state),
// and the boxes of a failed open in order.
FormChanges ReportToggle(FormState& form, const OpenResult& result, std::string_view title,
                         Language language);

} // namespace tervan
