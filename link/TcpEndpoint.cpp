#include "link/TcpEndpoint.h"

#include <algorithm>

namespace tervan {

namespace {

std::optional<std::uint16_t> ParsePortNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const unsigned long number = std::stoul(std::string(text));
    if (number == 0 || number > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(number);
}

// A host is a name or an address: no blanks, no control characters, nothing that closes a
// bracket or starts a path.
bool PlausibleHost(std::string_view host) {
    return !host.empty() && std::none_of(host.begin(), host.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7F || c == '[' || c == ']' || c == '/' || c == '\\';
    });
}

} // namespace

std::optional<TcpEndpoint> ParseTcpEndpoint(std::string_view text) {
    TcpEndpoint endpoint;
    std::string_view host = text;
    std::string_view port;
    if (text.starts_with('[')) {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return std::nullopt;
        }
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                return std::nullopt;
            }
            port = rest.substr(1);
            if (port.empty()) {
                return std::nullopt;
            }
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
        if (port.empty()) {
            return std::nullopt;
        }
    }
    if (!PlausibleHost(host)) {
        return std::nullopt;
    }
    endpoint.host = std::string(host);
    if (!port.empty()) {
        const auto number = ParsePortNumber(port);
        if (!number) {
            return std::nullopt;
        }
        endpoint.port = *number;
    }
    return endpoint;
}

std::string TcpEndpointName(const TcpEndpoint& endpoint) {
    const bool v6 = endpoint.host.find(':') != std::string::npos;
    return (v6 ? "[" + endpoint.host + "]" : endpoint.host) + ":" + std::to_string(endpoint.port);
}

} // namespace tervan
