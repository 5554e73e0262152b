#include "sim/TcpListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace tervan::sim {

namespace {

// A network printer takes a few kilobytes ahead of what it has printed; the system's default
// window on the loopback would swallow a whole logo before the printer read any of it.
constexpr int kReceiveWindow = 4096;

// One listening socket at `address`; none when it cannot be had. Its connections inherit the
// printer's small window.
UniqueFd Listen(const sockaddr* address, socklen_t length, int family) {
    UniqueFd fd{::socket(family, SOCK_STREAM, 0)};
    const int on = 1;
    if (fd.IsNull() || !MakeNonBlocking(fd.Get()) ||
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::setsockopt(fd.Get(), SOL_SOCKET, SO_RCVBUF, &kReceiveWindow, sizeof kReceiveWindow) !=
            0) {
        return {};
    }
    if (family == AF_INET6) {
        ::setsockopt(fd.Get(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    }
    if (::bind(fd.Get(), address, length) != 0 || ::listen(fd.Get(), 8) != 0) {
        return {};
    }
    return fd;
}

} // namespace

std::optional<TcpListener> TcpListener::Open(std::uint16_t port) {
    TcpListener listener;
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    v4.sin_port = htons(port);
    UniqueFd first = Listen(reinterpret_cast<const sockaddr*>(&v4), sizeof v4, AF_INET);
    socklen_t length = sizeof v4;
    if (first.IsNull() ||
        ::getsockname(first.Get(), reinterpret_cast<sockaddr*>(&v4), &length) != 0) {
        return std::nullopt;
    }
    listener.port = ntohs(v4.sin_port);
    listener.sockets.push_back(std::move(first));
    // IPv6 where the system has it; without it the printer is reached over IPv4 alone.
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_addr = in6addr_loopback;
    v6.sin6_port = htons(listener.port);
    if (UniqueFd second = Listen(reinterpret_cast<const sockaddr*>(&v6), sizeof v6, AF_INET6);
        !second.IsNull()) {
        listener.sockets.push_back(std::move(second));
    }
    return listener;
}

UniqueFd TcpListener::Accept(int socket) {
    UniqueFd fd{::accept(socket, nullptr, nullptr)};
    if (!fd.IsNull() && !MakeNonBlocking(fd.Get())) {
        fd.Reset();
    }
    return fd;
}

} // namespace tervan::sim
