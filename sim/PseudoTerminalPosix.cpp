#include "sim/PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>

#include <mutex>

namespace tervan::sim {

namespace {

bool AddFlags(int fd, int statusFlags) {
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status | statusFlags) < 0) {
        return false;
    }
    const int descriptor = ::fcntl(fd, F_GETFD);
    return descriptor >= 0 && ::fcntl(fd, F_SETFD, descriptor | FD_CLOEXEC) == 0;
}

// ptsname returns a static buffer; not every platform has the re-entrant variant.
std::string SlaveName(int master) {
    static std::mutex s_mutex;
    const std::scoped_lock lock(s_mutex);
    const char* name = ::ptsname(master);
    return name != nullptr ? std::string(name) : std::string();
}

} // namespace

std::optional<PseudoTerminal> PseudoTerminal::Open() {
    PseudoTerminal terminal;
    terminal.m_master.Reset(::posix_openpt(O_RDWR | O_NOCTTY));
    if (!!terminal.m_master.IsNull() || ::grantpt(terminal.Master()) != 0 ||
        ::unlockpt(terminal.Master()) != 0 || !AddFlags(terminal.Master(), O_NONBLOCK)) {
        return std::nullopt;
    }
    terminal.m_slavePath = SlaveName(terminal.Master());
    if (terminal.m_slavePath.empty()) {
        return std::nullopt;
    }
    // O_NOCTTY: the printer must never become the controlling process of its own line.
    terminal.m_slave.Reset(::open(terminal.m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!!terminal.m_slave.IsNull()) {
        return std::nullopt;
    }
    termios line{};
    if (::tcgetattr(terminal.m_slave.Get(), &line) != 0) {
        return std::nullopt;
    }
    ::cfmakeraw(&line);
    if (::tcsetattr(terminal.m_slave.Get(), TCSANOW, &line) != 0) {
        return std::nullopt;
    }
    return terminal;
}

void PseudoTerminal::Close() {
    m_slave.Reset();
    m_master.Reset();
}

} // namespace tervan::sim
