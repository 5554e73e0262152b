#include "app/qt/StopSignalsQt.h"

#include "base/UniqueFdPosix.h"

#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace tervan {

namespace {

constexpr std::array kStopSignals{SIGINT, SIGTERM, SIGHUP};

// The write end of the watch's pipe, -1 while none watches. The handler may run on any thread,
// the worker's included, so it only reads this lock-free atomic and writes one byte.
std::atomic<int> g_signalPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void OnStopSignal(int signal) {
    const int savedErrno = errno;
    const int fd = g_signalPipe.load(std::memory_order_relaxed);
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signal);
        // A full pipe already holds signals the window has yet to see; this one adds nothing.
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

struct CStopSignalWatch::State {
    std::function<void(int)> onSignal;
    UniqueFd readEnd;
    UniqueFd writeEnd;
    std::unique_ptr<QSocketNotifier> notifier;
    std::array<struct sigaction, kStopSignals.size()> previous{};
    bool installed = false;

    void Drain() const {
        std::array<unsigned char, 16> bytes{};
        for (;;) {
            const ssize_t n = ::read(readEnd.Get(), bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return;
            }
            for (ssize_t i = 0; i < n; ++i) {
                onSignal(bytes[static_cast<std::size_t>(i)]);
            }
        }
    }
};

CStopSignalWatch::CStopSignalWatch(std::function<void(int signal)> onSignal)
    : m_state(std::make_unique<State>()) {
    m_state->onSignal = std::move(onSignal);
    std::array<int, 2> fds{};
    if (::pipe(fds.data()) != 0) {
        // The signals keep their default action: they end the program at once.
        std::fprintf(stderr, "tervan: no pipe for stop signals: %s\n", std::strerror(errno));
        return;
    }
    m_state->readEnd.Reset(fds[0]);
    m_state->writeEnd.Reset(fds[1]);
    if (!MakeNonBlockingCloseOnExec(fds[0]) || !MakeNonBlockingCloseOnExec(fds[1])) {
        std::fprintf(stderr, "tervan: cannot set up the stop signal pipe: %s\n",
                     std::strerror(errno));
        return;
    }
    m_state->notifier = std::make_unique<QSocketNotifier>(fds[0], QSocketNotifier::Read);
    QObject::connect(m_state->notifier.get(), &QSocketNotifier::activated,
                     [state = m_state.get()] { state->Drain(); });
    g_signalPipe.store(fds[1], std::memory_order_relaxed);

    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // Other threads' calls go on; the event loop sees the byte in the pipe.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
        sigaction(kStopSignals[i], &action, &m_state->previous[i]);
    }
    m_state->installed = true;
}

CStopSignalWatch::~CStopSignalWatch() {
    if (m_state->installed) {
        for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
            sigaction(kStopSignals[i], &m_state->previous[i], nullptr);
        }
    }
    g_signalPipe.store(-1, std::memory_order_relaxed);
}

} // namespace tervan
