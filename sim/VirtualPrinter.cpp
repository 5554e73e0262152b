#include "sim/VirtualPrinter.h"

#include "base/UniqueFdPosix.h"
#include "sim/CommandDecoder.h"
#include "sim/LogoPng.h"
#include "sim/PseudoTerminal.h"
#include "sim/ReplyPlan.h"
#include "sim/TcpListener.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>

namespace tervan::sim {

namespace {

using Clock = std::chrono::steady_clock;

// While the master reports a hang-up there is nothing to read; look again after this long
// rather than spin.
constexpr std::chrono::milliseconds kHangUpRetry{10};
// Reads in one go before the loop looks at due replies and the stop request again.
constexpr int kReadsPerWake = 16;
// A printer of limited pace saves up what it may read while idle for no longer than this, so a
// pause of the peer does not buy it a burst.
constexpr double kPaceSavingSeconds = 0.05;
// ... and no fewer bytes than this, so that it reads in pieces of some size.
constexpr double kPaceMinimumSaving = 64;

} // namespace

struct VirtualPrinter::State {
    explicit State(VirtualPrinterOptions o) : options(std::move(o)) {}

    const VirtualPrinterOptions options;

    // What the peer sees of the printer; guarded by `mutex`.
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::vector<std::uint8_t> received;
    std::vector<std::string> decoded;
    std::string slavePath;

    // Start and Stop, one at a time. The serving thread uses the descriptors while it
    // runs; they are closed only after it has been joined.
    std::mutex control;
    std::optional<PseudoTerminal> terminal;
    std::optional<TcpListener> listener;
    UniqueFd connection; // the network printer's peer of the moment
    UniqueFd wakeRead;
    UniqueFd wakeWrite;
    std::atomic<bool> stopping{false};
    std::thread server;

    // The serving thread's own.
    struct Outgoing {
        Clock::time_point due;
        std::vector<std::uint8_t> bytes;
    };
    CommandDecoder decoder;
    std::array<std::optional<Logo>, kLogoSlots> slots;
    std::deque<Outgoing> outgoing; // by due time
    bool outputBlocked = false;    // the peer's input queue is full: wait for POLLOUT
    bool hungUp = false;
    std::size_t taken = 0; // bytes read from the line so far

    // A printer of limited pace: what it may read, as of the time beside it.
    double paceCredit = kPaceMinimumSaving;
    Clock::time_point paceCreditAt = Clock::now();

    // The descriptor the peer's bytes come in on; -1 while a network printer has no peer.
    int Line() const { return terminal ? terminal->Master() : connection.Get(); }
    void AcceptPeer(const std::vector<pollfd>& fds);
    void DropPeer();

    bool Stalled() const { return options.stallAfter != 0 && taken >= options.stallAfter; }
    // How many bytes the printer's pace lets it read now.
    std::size_t Room() const;
    bool Resting() const { return options.bytesPerSecond != 0 && Room() == 0; }
    double PaceCredit() const;
    void Serve();
    int NextTimeoutMs(bool resting) const;
    void ReadAvailable();
    void Handle(std::span<const std::uint8_t> chunk);
    void Act(DecodedCommand& command);
    void SendDue();
    void Shutdown();
};

void VirtualPrinter::State::Serve() {
    while (!stopping.load()) {
        // The line, the wake-up pipe, and a network printer's listening sockets while it waits
        // for a peer.
        std::vector<pollfd> fds(2);
        // A stalled or resting printer that has nothing to send does not look at the line at all.
        const bool resting = Resting();
        const bool deaf = Stalled() || resting;
        fds[0].fd = hungUp || (deaf && !outputBlocked) ? -1 : Line();
        fds[0].events = static_cast<short>((deaf ? 0 : POLLIN) | (outputBlocked ? POLLOUT : 0));
        fds[1].fd = wakeRead.Get();
        fds[1].events = POLLIN;
        if (listener && connection.IsNull()) {
            for (const UniqueFd& socket : listener->sockets) {
                fds.push_back({socket.Get(), POLLIN, 0});
            }
        }
        const int timeout = NextTimeoutMs(resting);
        hungUp = false;
        if (::poll(fds.data(), fds.size(), timeout) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if ((fds[1].revents & POLLIN) != 0) {
            std::array<char, 16> drain{};
            while (::read(wakeRead.Get(), drain.data(), drain.size()) > 0) {
            }
        }
        if ((fds[0].revents & POLLOUT) != 0) {
            outputBlocked = false;
        }
        if (!deaf && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            ReadAvailable();
        }
        AcceptPeer(fds);
        SendDue();
    }
}

void VirtualPrinter::State::AcceptPeer(const std::vector<pollfd>& fds) {
    for (std::size_t i = 2; i < fds.size() && connection.IsNull(); ++i) {
        if ((fds[i].revents & POLLIN) != 0) {
            connection = TcpListener::Accept(fds[i].fd);
        }
    }
}

void VirtualPrinter::State::DropPeer() {
    // What was due to the peer that left is not for the next one.
    connection.Reset();
    outgoing.clear();
    outputBlocked = false;
}

int VirtualPrinter::State::NextTimeoutMs(bool resting) const {
    int timeout = -1;
    if (!outgoing.empty() && !outputBlocked) {
        const auto wait =
            std::chrono::ceil<std::chrono::milliseconds>(outgoing.front().due - Clock::now());
        timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
    }
    if (hungUp && (timeout < 0 || timeout > kHangUpRetry.count())) {
        timeout = static_cast<int>(kHangUpRetry.count());
    }
    if (resting) {
        // Until the pace allows a few bytes more.
        const auto rest = static_cast<int>(1000 * kPaceMinimumSaving / 4 /
                                           static_cast<double>(options.bytesPerSecond)) +
                          1;
        timeout = timeout < 0 ? rest : std::min(timeout, rest);
    }
    return timeout;
}

std::size_t VirtualPrinter::State::Room() const {
    std::size_t room = options.stallAfter != 0
                           ? options.stallAfter - std::min(taken, options.stallAfter)
                           : std::numeric_limits<std::size_t>::max();
    if (options.bytesPerSecond != 0) {
        room = std::min(room, static_cast<std::size_t>(PaceCredit()));
    }
    return room;
}

double VirtualPrinter::State::PaceCredit() const {
    const auto pace = static_cast<double>(options.bytesPerSecond);
    const double seconds = std::chrono::duration<double>(Clock::now() - paceCreditAt).count();
    return std::min(paceCredit + seconds * pace,
                    std::max(kPaceMinimumSaving, pace * kPaceSavingSeconds));
}

void VirtualPrinter::State::ReadAvailable() {
    std::array<std::uint8_t, 4096> buffer{};
    for (int i = 0; i < kReadsPerWake && !Stalled() && !Resting(); ++i) {
        const std::size_t room = std::min(buffer.size(), Room());
        const ssize_t n = ::read(Line(), buffer.data(), room);
        if (n > 0) {
            if (options.bytesPerSecond != 0) {
                paceCredit = PaceCredit() - static_cast<double>(n);
                paceCreditAt = Clock::now();
            }
            taken += static_cast<std::size_t>(n);
            Handle(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
            // A pseudo-terminal's peer may come back on the same line; a network peer that left
            // is gone, and the next one connects anew.
            if (terminal) {
                hungUp = true;
            } else {
                DropPeer();
            }
        }
        return;
    }
}

void VirtualPrinter::State::Handle(std::span<const std::uint8_t> chunk) {
    std::vector<DecodedCommand> commands = decoder.Feed(chunk);
    // The printer acts before anyone can see the bytes, so whoever waits for them finds the
    // picture written; answers go out only after that, so a peer holding the answer finds its
    // request on record.
    for (DecodedCommand& command : commands) {
        Act(command);
    }
    {
        const std::scoped_lock lock(mutex);
        received.insert(received.end(), chunk.begin(), chunk.end());
        for (const DecodedCommand& command : commands) {
            decoded.push_back(command.line);
        }
    }
    arrived.notify_all();
    SendDue();
    if (options.onBytes) {
        options.onBytes(chunk);
    }
    if (options.onLine) {
        for (const DecodedCommand& command : commands) {
            options.onLine(command.line);
        }
    }
}

void VirtualPrinter::State::Act(DecodedCommand& command) {
    switch (command.action) {
    case PrinterAction::None:
        return;
    case PrinterAction::AnswerSetup: {
        const Clock::time_point now = Clock::now();
        for (TimedReply& reply : PlanReply(options.reply, options.delay)) {
            Outgoing piece{now + reply.after, std::move(reply.bytes)};
            auto at = std::find_if(outgoing.begin(), outgoing.end(),
                                   [&](const Outgoing& o) { return o.due > piece.due; });
            outgoing.insert(at, std::move(piece));
        }
        return;
    }
    case PrinterAction::StoreLogo:
        slots[command.slot] = std::move(command.logo);
        return;
    case PrinterAction::PrintLogo:
        if (command.slot < slots.size() && slots[command.slot] && !options.outDir.empty()) {
            std::error_code error;
            std::filesystem::create_directories(options.outDir, error);
            WriteLogoPng(*slots[command.slot],
                         options.outDir / ("slot-" + std::to_string(command.slot) + ".png"));
        }
        return;
    }
}

void VirtualPrinter::State::SendDue() {
    while (!outgoing.empty() && !outputBlocked && outgoing.front().due <= Clock::now()) {
        std::vector<std::uint8_t>& bytes = outgoing.front().bytes;
        // A peer that has gone must not end the printer with SIGPIPE.
        const ssize_t n = terminal ? ::write(Line(), bytes.data(), bytes.size())
                                   : ::send(Line(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n > 0) {
            bytes.erase(bytes.begin(), bytes.begin() + n);
            if (bytes.empty()) {
                outgoing.pop_front();
            }
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            outputBlocked = true;
        } else {
            outgoing.pop_front(); // the line cannot take it at all
        }
    }
}

void VirtualPrinter::State::Shutdown() {
    const std::scoped_lock lock(control);
    if (server.joinable()) {
        stopping = true;
        const char wake = 1;
        [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite.Get(), &wake, 1);
        server.join();
    }
    if (terminal) {
        terminal->Close();
        terminal.reset();
    }
    connection.Reset();
    listener.reset();
    wakeRead.Reset();
    wakeWrite.Reset();
}

VirtualPrinter::VirtualPrinter(VirtualPrinterOptions options)
    : m_state(std::make_unique<State>(std::move(options))) {}

VirtualPrinter::~VirtualPrinter() {
    Stop();
}

bool VirtualPrinter::Start() {
    State& s = *m_state;
    const std::scoped_lock lock(s.control);
    if (s.server.joinable()) {
        return true;
    }
    std::optional<PseudoTerminal> terminal;
    std::optional<TcpListener> listener;
    if (s.options.tcpPort) {
        listener = TcpListener::Open(*s.options.tcpPort);
    } else {
        terminal = PseudoTerminal::Open();
    }
    std::array<int, 2> wake{-1, -1};
    if ((!terminal && !listener) || ::pipe(wake.data()) != 0) {
        return false;
    }
    s.wakeRead.Reset(wake[0]);
    s.wakeWrite.Reset(wake[1]);
    if (!MakeNonBlocking(wake[0]) || !MakeNonBlocking(wake[1])) {
        s.wakeRead.Reset();
        s.wakeWrite.Reset();
        return false;
    }
    {
        const std::scoped_lock stateLock(s.mutex);
        s.slavePath =
            terminal ? terminal->SlavePath() : "tcp:127.0.0.1:" + std::to_string(listener->port);
    }
    s.terminal = std::move(terminal);
    s.listener = std::move(listener);
    s.decoder = CommandDecoder{};
    s.outgoing.clear();
    s.outputBlocked = false;
    s.hungUp = false;
    s.taken = 0;
    s.stopping = false;
    s.server = std::thread([&s] { s.Serve(); });
    return true;
}

std::string VirtualPrinter::SlavePath() const {
    const std::scoped_lock lock(m_state->mutex);
    return m_state->slavePath;
}

std::vector<std::uint8_t> VirtualPrinter::Received() const {
    const std::scoped_lock lock(m_state->mutex);
    return m_state->received;
}

std::vector<std::string> VirtualPrinter::Decoded() const {
    const std::scoped_lock lock(m_state->mutex);
    return m_state->decoded;
}

bool VirtualPrinter::WaitForBytes(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_state->mutex);
    return m_state->arrived.wait_for(lock, timeout,
                                     [&] { return m_state->received.size() >= count; });
}

void VirtualPrinter::Stop() {
    m_state->Shutdown();
}

} // namespace tervan::sim
