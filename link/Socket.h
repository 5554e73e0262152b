#pragma once

#include "link/BoundedIo.h"
#include "link/Link.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The few socket calls the network link makes, bound once per platform (BSD sockets, Winsock)
// behind this header. Error numbers are the system's: errno, or a Winsock error code.
namespace tervan {

// Owns one socket; closing happens exactly once, when the holder is reset or goes out of scope.
class UniqueSocket {
public:
    using Native = std::intptr_t; // a descriptor, or a SOCKET; -1 is none on both
    static constexpr Native kNone = -1;

    UniqueSocket() = default;
    explicit UniqueSocket(Native socket) : m_socket(socket) {}
    ~UniqueSocket() { Reset(); }
    UniqueSocket(UniqueSocket&& other) noexcept : m_socket(std::exchange(other.m_socket, kNone)) {}
    UniqueSocket& operator=(UniqueSocket&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_socket, kNone));
        }
        return *this;
    }
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;

    Native Get() const { return m_socket; }
    bool IsNull() const { return m_socket == kNone; }
    void Reset(Native socket = kNone);

private:
    Native m_socket = kNone;
};

// One address of a host, as the system's connect takes it.
struct SocketAddress {
    int family = 0;
    std::vector<std::uint8_t> bytes; // a sockaddr of that family
};

struct Resolution {
    std::vector<SocketAddress> addresses; // in the system's order of preference
    bool notNumeric = false;              // asked for a numeric address only, and it is a name
    bool hostUnknown = false;             // the name stands for no address
    int error = 0;                        // any other failure
};

// The stream addresses of `host` at `port`. With `numericOnly` nothing is looked up: a host name
// answers notNumeric at once. Otherwise it blocks as long as the system's resolver takes.
Resolution ResolveStreamHost(const std::string& host, std::uint16_t port, bool numericOnly);

struct Connecting {
    UniqueSocket socket;
    bool connected = false; // else, while error is 0, the connection is under way
    int error = 0;
};

// A non-blocking stream socket that has begun to connect to `address`.
Connecting StartConnect(const SocketAddress& address);

// Waits at most `ms` for the socket to be readable or writable; a connection under way is
// writable once it has been made, and Closed or Failed once it cannot be.
IoWait WaitSocket(const UniqueSocket& socket, bool forWrite, int ms);

// Why the connection under way failed, once WaitSocket says it has ended; 0 when it was made.
int ConnectError(const UniqueSocket& socket);

// Small commands go out at once rather than wait to be gathered with the next.
void SendAtOnce(const UniqueSocket& socket);

NonBlockingIo SocketIo(const UniqueSocket& socket);

// Bytes written but not yet acknowledged by the other end, where the system tells (else 0), and
// whether the connection has broken meanwhile: the system keeps counting the bytes a reset
// connection never delivered, so the count alone would look like a printer that stopped reading.
struct SendQueue {
    std::size_t unacknowledged = 0;
    bool broken = false;
};
SendQueue PendingSend(const UniqueSocket& socket);

// Throws away what has arrived and not been read.
void DiscardInput(const UniqueSocket& socket);

// What the system's error number says about a connection that failed.
OpenCause CauseOfConnectError(int error);
// The error number of a connection that took longer than the limit.
int TimedOutError();

} // namespace tervan
