#pragma once

#include "form/BoxMessage.h"
#include "form/FormRules.h"
#include "link/PrinterLinks.h"
#include "protocol/Strings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The hidden open/close button 1006 as both windows run it: which link, what changes in the form,
// which boxes in which order, and the status the window's title shows.
namespace tervan {

struct ToggleReport {
    OpenOutcome outcome = OpenOutcome::Opened;
    // Shown one after the other, in this order, once `changes` and `title` are applied.
    std::vector<BoxMessage> messages;
    // The caption of 1006 and the port controls; nothing after a failed open, so the user can pick
    // another port and try again.
    FormChanges changes;
    // The window's new title: the dialog's caption with the link's state; none when it stays.
    std::optional<std::string> title;
};

// What the window shows for the result of one click of 1006. `title` is the dialog's caption as
// the template sets it.
ToggleReport ReportToggle(FormState& form, const OpenResult& result, std::string_view title,
                          Language language);

// One click of 1006: closes the open link, or opens the one the port list selects with the line
// settings of lists 1002-1004 (the flow-control list has no effect).
ToggleReport ToggleSelectedLink(FormState& form, PrinterLinks& links, std::string_view title,
                                Language language);

} // namespace tervan
