#include "cli/DryRunLink.h"

#include "cli/Hex.h"

#include <algorithm>
#include <cerrno>

namespace tervan::cli {

std::size_t DryRunLink::Write(std::span<const std::uint8_t> bytes) {
    if (m_error != 0) {
        return 0;
    }
    errno = 0;
    m_out << FormatHex(bytes) << '\n' << std::flush;
    if (!m_out) {
        m_error = errno != 0 ? errno : EIO;
        return 0;
    }
    if (bytes.size() == 2 && bytes[0] == 0x1B && bytes[1] == 0x06) {
        m_reply = {'O', 'K'};
    }
    return bytes.size();
}

std::size_t DryRunLink::Read(std::span<std::uint8_t> buffer) {
    const std::size_t n = std::min(buffer.size(), m_reply.size());
    std::copy_n(m_reply.begin(), n, buffer.begin());
    m_reply.erase(m_reply.begin(), m_reply.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

} // namespace tervan::cli
