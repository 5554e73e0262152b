#include "cli/TracingLink.h"

#include "cli/Hex.h"

#include <cstdio>

namespace tervan::cli {

TracingLink::TracingLink(Link& inner, std::ostream& log)
    : m_inner(inner), m_log(log), m_start(std::chrono::steady_clock::now()) {}

void TracingLink::Note(const std::string& what) {
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%9.3f] ", elapsed.count());
    m_log << stamp << what << '\n' << std::flush;
}

std::size_t TracingLink::Write(std::span<const std::uint8_t> bytes) {
    const std::size_t sent = m_inner.Write(bytes);
    std::string line = "write " + FormatHex(bytes);
    if (sent != bytes.size()) {
        line += " (" + std::to_string(sent) + " of " + std::to_string(bytes.size()) + " sent)";
    }
    Note(line);
    return sent;
}

std::size_t TracingLink::Read(std::span<std::uint8_t> buffer) {
    const std::size_t got = m_inner.Read(buffer);
    Note(got == 0 ? "read  (nothing)" : "read  " + FormatHex(buffer.first(got)));
    return got;
}

void TracingLink::Purge() {
    m_inner.Purge();
    Note("purge");
}

void TracingLink::Close() {
    Note("close");
    m_inner.Close();
}

} // namespace tervan::cli
