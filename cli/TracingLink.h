#pragma once

#include "link/Link.h"

#include <chrono>
#include <ostream>

namespace tervan::cli {

// Passes everything to the real link and logs each write and read in hex, with the time since
// the start, so a technician can see what the printer got and said.
class TracingLink : public Link {
public:
    TracingLink(Link& inner, std::ostream& log);

    std::size_t Write(std::span<const std::uint8_t> bytes) override;
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::size_t QueuedBytes() const override { return m_inner.QueuedBytes(); }
    void Purge() override;
    void Close() override;
    bool IsOpen() const override { return m_inner.IsOpen(); }
    bool DeviceGone() const override { return m_inner.DeviceGone(); }

    void Note(const std::string& what);

private:
    Link& m_inner;
    std::ostream& m_log;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace tervan::cli
