#pragma once

#include "form/FormState.h"

#include <optional>
#include <string>
#include <vector>

// The rules that keep the form consistent while the user edits it. The window reports each
// notification with the control's new value; the rule records it in the form, decides, and
// returns what the window must change. The window shows the message first (if any), then applies
// the changes with its controls' notifications blocked: a change made by a rule raises no
// further notification.
namespace tervan {

struct ControlChange {
    int id = 0;
    std::optional<std::vector<std::string>> items; // replaces every item
    std::optional<int> selection;                  // after `items`, when both are given
    std::optional<bool> enabled;
    std::optional<bool> checked; // a check box's state (a profile loaded into the form)
    std::optional<std::u16string> text;
    std::optional<int> caret; // an empty selection at this character position, after `text`
    std::optional<std::string> caption;
};

struct FormMessage {
    std::string text;
    std::optional<std::string> caption; // none: the platform's default caption
};

struct FormChanges {
    std::optional<FormMessage> message;
    std::vector<ControlChange> controls;
};

// A list's selection changed (CBN_SELCHANGE): the port list, the buzzer pairing.
FormChanges OnSelChange(FormState& form, int id, int selection);
// A check box or button was clicked (BN_CLICKED); `checked` is a check box's new state.
FormChanges OnClicked(FormState& form, int id, bool checked);
// An edit's text changed (EN_CHANGE): the Bluetooth name and password rules.
FormChanges OnEditChange(FormState& form, int id, std::u16string text);

// The link opened or closed: the port controls are locked while a link is open, and all five
// are unlocked after closing, whatever the port list selects. `caption` is 1006's new caption.
FormChanges OnLinkOpened(FormState& form, std::string caption);
FormChanges OnLinkClosed(FormState& form, std::string caption);

} // namespace tervan
