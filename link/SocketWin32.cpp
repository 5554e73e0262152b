#include "link/Socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <array>
#include <memory>
#include <mutex>

namespace tervan {

namespace {

SOCKET Native(const UniqueSocket& socket) {
    return static_cast<SOCKET>(socket.Get());
}

// Winsock is started once for the whole program and never cleaned up: other threads may still
// hold sockets when it ends.
bool StartWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

IoStep StepOf(int n) {
    if (n > 0) {
        return {IoTry::Moved, static_cast<std::size_t>(n)};
    }
    if (n == 0) {
        return {IoTry::Closed, 0};
    }
    switch (::WSAGetLastError()) {
    case WSAEWOULDBLOCK:
        return {IoTry::WouldBlock, 0};
    case WSAEINTR:
        return {IoTry::Interrupted, 0};
    case WSAECONNRESET:
    case WSAECONNABORTED:
    case WSAENOTCONN:
    case WSAESHUTDOWN:
    case WSAENETRESET:
        return {IoTry::Closed, 0};
    default:
        return {IoTry::Failed, 0};
    }
}

int ClampToInt(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, 1u << 30));
}

IoWait WaitOn(SOCKET s, bool forWrite, int ms) {
    // A connection that fails shows in the exception set, not as writable.
    fd_set ready;
    fd_set failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(s, &ready);
    FD_SET(s, &failed);
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    const int n =
        ::select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &failed, &wait);
    if (n == SOCKET_ERROR) {
        return ::WSAGetLastError() == WSAEINTR ? IoWait::Interrupted : IoWait::Failed;
    }
    if (n == 0) {
        return IoWait::TimedOut;
    }
    return FD_ISSET(s, &ready) ? IoWait::Ready : IoWait::Closed;
}

} // namespace

void UniqueSocket::Reset(Native socket) {
    if (m_socket != kNone) {
        ::closesocket(static_cast<SOCKET>(m_socket));
    }
    m_socket = socket;
}

Resolution ResolveStreamHost(const std::string& host, std::uint16_t port, bool numericOnly) {
    Resolution result;
    if (!StartWinsock()) {
        result.error = ::WSAGetLastError();
        return result;
    }
    ADDRINFOA hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_NUMERICSERV | (numericOnly ? AI_NUMERICHOST : 0);
    PADDRINFOA raw = nullptr;
    const int status = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &raw);
    const std::unique_ptr<ADDRINFOA, decltype(&::freeaddrinfo)> list(raw, &::freeaddrinfo);
    if (status != 0) {
        result.notNumeric = numericOnly && status == WSAHOST_NOT_FOUND;
        result.hostUnknown = !numericOnly && (status == WSAHOST_NOT_FOUND || status == WSANO_DATA);
        result.error = status;
        return result;
    }
    for (const ADDRINFOA* a = list.get(); a != nullptr; a = a->ai_next) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(a->ai_addr);
        result.addresses.push_back({a->ai_family, {bytes, bytes + a->ai_addrlen}});
    }
    return result;
}

Connecting StartConnect(const SocketAddress& address) {
    Connecting c;
    if (!StartWinsock()) {
        c.error = ::WSAGetLastError();
        return c;
    }
    // Not inherited by programs this one starts.
    c.socket.Reset(static_cast<UniqueSocket::Native>(::WSASocketW(
        address.family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT)));
    u_long nonBlocking = 1;
    if (c.socket.IsNull() || ::ioctlsocket(Native(c.socket), FIONBIO, &nonBlocking) != 0) {
        c.error = ::WSAGetLastError();
        c.socket.Reset();
        return c;
    }
    const auto* addr = reinterpret_cast<const sockaddr*>(address.bytes.data());
    if (::connect(Native(c.socket), addr, static_cast<int>(address.bytes.size())) == 0) {
        c.connected = true;
    } else if (const int error = ::WSAGetLastError(); error != WSAEWOULDBLOCK) {
        c.error = error;
        c.socket.Reset();
    }
    return c;
}

IoWait WaitSocket(const UniqueSocket& socket, bool forWrite, int ms) {
    return WaitOn(Native(socket), forWrite, ms);
}

int ConnectError(const UniqueSocket& socket) {
    int error = 0;
    int length = sizeof error;
    if (::getsockopt(Native(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
                     &length) != 0) {
        return ::WSAGetLastError();
    }
    return error;
}

void SendAtOnce(const UniqueSocket& socket) {
    const BOOL on = TRUE;
    ::setsockopt(Native(socket), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                 sizeof on);
}

NonBlockingIo SocketIo(const UniqueSocket& socket) {
    const SOCKET s = Native(socket);
    NonBlockingIo io;
    io.writeSome = [s](std::span<const std::uint8_t> bytes) {
        return StepOf(
            ::send(s, reinterpret_cast<const char*>(bytes.data()), ClampToInt(bytes.size()), 0));
    };
    io.readSome = [s](std::span<std::uint8_t> buffer) {
        return StepOf(
            ::recv(s, reinterpret_cast<char*>(buffer.data()), ClampToInt(buffer.size()), 0));
    };
    io.wait = [s](bool forWrite, int ms) { return WaitOn(s, forWrite, ms); };
    return io;
}

SendQueue PendingSend(const UniqueSocket& /*socket*/) {
    return {}; // Windows does not tell; a broken connection shows at the next write
}

void DiscardInput(const UniqueSocket& socket) {
    std::array<char, 512> sink{};
    while (::recv(Native(socket), sink.data(), static_cast<int>(sink.size()), 0) > 0) {
    }
}

OpenCause CauseOfConnectError(int error) {
    switch (error) {
    case WSAECONNREFUSED:
        return OpenCause::Refused;
    case WSAETIMEDOUT:
        return OpenCause::TimedOut;
    default:
        return OpenCause::Other;
    }
}

int TimedOutError() {
    return WSAETIMEDOUT;
}

} // namespace tervan
