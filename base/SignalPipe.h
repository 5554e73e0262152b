#pragma once

#include <memory>
#include <vector>

namespace tervan {

// SIGINT, SIGTERM and SIGHUP as bytes on a pipe, for an event loop to take on its own thread: the
// handler, which may run on any thread, only writes one byte. While one lives these signals no
// longer end the program; their previous actions come back when it goes. One at a time.
class SignalPipe {
public:
    SignalPipe();
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // The end to watch for reading; -1 where there is none (a system without these signals, or a
    // pipe that could not be made): the signals then keep their default action.
    int ReadEnd() const;
    // Why there is no pipe on a system that has the signals (errno); 0 otherwise.
    int Error() const;
    // The signals that have come since the last call, oldest first.
    std::vector<int> Take();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace tervan
