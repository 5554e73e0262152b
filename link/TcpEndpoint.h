#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tervan {

// The port network printers listen on for raw print data.
inline constexpr std::uint16_t kDefaultTcpPort = 9100;

// Where a network printer listens: a host name or an IPv4 or IPv6 address, and a port.
struct TcpEndpoint {
    std::string host;
    std::uint16_t port = kDefaultTcpPort;
};

// "HOST", "HOST:PORT", "[IPV6]", "[IPV6]:PORT", or an IPv6 address alone (more than one colon, no
// brackets: no port can follow); nullopt for anything else, a port outside 1..65535 included.
std::optional<TcpEndpoint> ParseTcpEndpoint(std::string_view text);

// "HOST:PORT", with an IPv6 address in brackets: the endpoint as --port names it, after "tcp:".
std::string TcpEndpointName(const TcpEndpoint& endpoint);

} // namespace tervan
