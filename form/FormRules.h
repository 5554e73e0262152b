#pragma once

#include "form/FormChanges.h"
#include "form/FormState.h"

#include <string>

// The rules that keep the form consistent while the user edits it. Each notification comes with
// the control's new value; the rule records it in the form, decides, and returns what the window
// must change.
namespace tervan {

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
