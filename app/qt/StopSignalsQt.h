#pragma once

namespace tervan {

class CTervanDlg;

// Runs `dialog` modally until it closes. Meanwhile SIGINT, SIGTERM and SIGHUP end the window as
// the user would, without waiting for any answer: the running operation stops as Cancel stops it
// (the printer still leaves setup mode), every box, file chooser and progress window closes
// unanswered, the operation closes the link, then the window closes. A second signal abandons the
// operation at once, even a stopped download's blank rows. Returns 0, or 128 + the first of those
// signals, the status the signal itself would have left.
int ExecStoppable(CTervanDlg& dialog);

} // namespace tervan
