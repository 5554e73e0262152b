#include "base/SignalPipe.h"

#include "base/UniqueFdPosix.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace tervan {

namespace {

constexpr std::array kStopSignals{SIGINT, SIGTERM, SIGHUP};

// The write end of the live pipe, -1 while none lives. The handler may run on any thread, so it
// only reads this lock-free atomic and writes one byte.
std::atomic<int> g_writeEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void OnSignal(int signal) {
    const int savedErrno = errno;
    const int fd = g_writeEnd.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signal);
        // A full pipe already holds signals the loop has yet to take; this one adds nothing.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

bool MakeNonBlockingCloseOnExec(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

struct SignalPipe::State {
    UniqueFd readEnd;
    UniqueFd writeEnd;
    std::array<struct sigaction, kStopSignals.size()> previous{};
    bool installed = false;
    int error = 0;
};

SignalPipe::SignalPipe() : m_state(std::make_unique<State>()) {
    std::array<int, 2> fds{};
    if (::pipe(fds.data()) != 0) {
        m_state->error = errno;
        return;
    }
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    if (!MakeNonBlockingCloseOnExec(fds[0]) || !MakeNonBlockingCloseOnExec(fds[1])) {
        m_state->error = errno;
        return;
    }
    m_state->readEnd = std::move(readEnd);
    m_state->writeEnd = std::move(writeEnd);
    g_writeEnd.store(fds[1], std::memory_order_relaxed);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Other threads' calls go on; the loop sees the byte in the pipe.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &action, &m_state->previous[i]);
    }
    m_state->installed = true;
}

SignalPipe::~SignalPipe() {
    if (m_state->installed) {
        for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
            sigaction(kStopSignals[i], &m_state->previous[i], nullptr);
        }
    }
    g_writeEnd.store(-1, std::memory_order_relaxed);
}

int SignalPipe::ReadEnd() const {
    return m_state->readEnd.IsNull() ? -1 : m_state->readEnd.Get();
}

int SignalPipe::Error() const {
    return m_state->error;
}

std::vector<int> SignalPipe::Take() {
    std::vector<int> signals;
    std::array<unsigned char, 16> bytes{};
    for (;;) {
        const ssize_t n = ::read(ReadEnd(), bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return signals;
        }
        signals.insert(signals.end(), bytes.begin(), bytes.begin() + n);
    }
}

} // namespace tervan
