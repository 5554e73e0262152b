#include "base/UniqueFdPosix.h"
#include "link/FdIoPosix.h"
#include "link/Socket.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#if defined(__linux__)
#include <linux/sockios.h>
#endif

namespace tervan {

namespace {

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { ::freeaddrinfo(list); }
};

int Fd(const UniqueSocket& socket) {
    return static_cast<int>(socket.Get());
}

} // namespace

void UniqueSocket::Reset(Native socket) {
    if (m_socket != kNone) {
        ::close(static_cast<int>(m_socket));
    }
    m_socket = socket;
}

Resolution ResolveStreamHost(const std::string& host, std::uint16_t port, bool numericOnly) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    // No AI_ADDRCONFIG: on a machine with only a loopback interface it hides "localhost"; an
    // address of a family the machine lacks fails at once, and the next one is tried.
    hints.ai_flags = AI_NUMERICSERV | (numericOnly ? AI_NUMERICHOST : 0);
    addrinfo* raw = nullptr;
    const int status = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &raw);
    const std::unique_ptr<addrinfo, AddrInfoDeleter> list(raw);
    Resolution result;
    if (status != 0) {
        result.notNumeric = numericOnly && status == EAI_NONAME;
        result.hostUnknown = !numericOnly && (status == EAI_NONAME
#ifdef EAI_NODATA
                                              || status == EAI_NODATA
#endif
                                              || status == EAI_FAIL);
        result.error = status == EAI_SYSTEM ? errno : 0;
        return result;
    }
    for (const addrinfo* a = list.get(); a != nullptr; a = a->ai_next) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(a->ai_addr);
        result.addresses.push_back({a->ai_family, {bytes, bytes + a->ai_addrlen}});
    }
    return result;
}

Connecting StartConnect(const SocketAddress& address) {
    Connecting c;
    c.socket.Reset(::socket(address.family, SOCK_STREAM, IPPROTO_TCP));
    if (c.socket.IsNull() || !MakeNonBlocking(Fd(c.socket))) {
        c.error = errno;
        c.socket.Reset();
        return c;
    }
#ifdef SO_NOSIGPIPE
    const int on = 1;
    ::setsockopt(Fd(c.socket), SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    const auto* addr = reinterpret_cast<const sockaddr*>(address.bytes.data());
    if (::connect(Fd(c.socket), addr, static_cast<socklen_t>(address.bytes.size())) == 0) {
        c.connected = true;
    } else if (errno != EINPROGRESS && errno != EINTR) {
        c.error = errno;
        c.socket.Reset();
    }
    return c;
}

IoWait WaitSocket(const UniqueSocket& socket, bool forWrite, int ms) {
    return FdIo(Fd(socket), true).wait(forWrite, ms);
}

int ConnectError(const UniqueSocket& socket) {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        return errno;
    }
    return error;
}

void SendAtOnce(const UniqueSocket& socket) {
    const int on = 1;
    ::setsockopt(Fd(socket), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

NonBlockingIo SocketIo(const UniqueSocket& socket) {
    return FdIo(Fd(socket), true);
}

SendQueue PendingSend(const UniqueSocket& socket) {
    SendQueue queue;
    if (socket.IsNull()) {
        return queue;
    }
    pollfd fd{Fd(socket), POLLOUT, 0};
    queue.broken = ::poll(&fd, 1, 0) == 1 && (fd.revents & (POLLERR | POLLHUP)) != 0;
#if defined(__linux__)
    int queued = 0;
    if (::ioctl(Fd(socket), SIOCOUTQ, &queued) == 0 && queued > 0) {
        queue.unacknowledged = static_cast<std::size_t>(queued);
    }
#endif
    return queue;
}

void DiscardInput(const UniqueSocket& socket) {
    std::array<std::uint8_t, 512> sink{};
    while (::recv(Fd(socket), sink.data(), sink.size(), MSG_DONTWAIT) > 0) {
    }
}

OpenCause CauseOfConnectError(int error) {
    switch (error) {
    case ECONNREFUSED:
        return OpenCause::Refused;
    case ETIMEDOUT:
        return OpenCause::TimedOut;
    default:
        return OpenCause::Other;
    }
}

int TimedOutError() {
    return ETIMEDOUT;
}

} // namespace tervan
