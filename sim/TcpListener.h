#pragma once

#include "base/UniqueFdPosix.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace tervan::sim {

// The printer's listening sockets on this machine's loopback addresses: 127.0.0.1 and, where the
// system has IPv6, ::1, both on one port. Non-blocking; nothing outside the machine reaches them.
struct TcpListener {
    std::vector<UniqueFd> sockets;
    std::uint16_t port = 0;

    // Listens on `port`, or with 0 on a free port the system picks; nothing when the port cannot
    // be had.
    static std::optional<TcpListener> Open(std::uint16_t port);

    // A connection waiting on `socket`, non-blocking; none when there is none.
    static UniqueFd Accept(int socket);
};

} // namespace tervan::sim
