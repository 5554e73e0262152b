#pragma once

#include <functional>
#include <memory>

namespace tervan {

class CTervanDlg;

// Runs `dialog` modally until it closes. Meanwhile SIGINT, SIGTERM and SIGHUP end the window as
// the user would, without waiting for any answer: the running operation stops as Cancel stops it
// (the printer still leaves setup mode), every box, file chooser and progress window closes
// unanswered, the operation closes the link, then the window closes. A second signal abandons the
// operation at once, even a stopped download's blank rows. Returns 0, or 128 + the first of those
// signals, the status the signal itself would have left.
int ExecStoppable(CTervanDlg& dialog);

// The platform binding: while it lives, each SIGINT, SIGTERM or SIGHUP calls `onSignal` with the
// signal's number on the user-interface thread, from its event loop. One watch at a time.
class CStopSignalWatch {
public:
    explicit CStopSignalWatch(std::function<void(int signal)> onSignal);
    ~CStopSignalWatch(); // the signals' previous actions come back
    CStopSignalWatch(const CStopSignalWatch&) = delete;
    CStopSignalWatch& operator=(const CStopSignalWatch&) = delete;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace tervan
