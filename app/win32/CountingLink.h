#pragma once

#include "link/Link.h"

namespace tervan {

// Passes everything on to the link it wraps and counts the bytes that went out, so the window
// can tell a conversation that was stopped before it sent anything from one that was not.
class CountingLink : public Link {
public:
    explicit CountingLink(Link& link) : m_link(link) {}

    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        const std::size_t sent = m_link.Write(bytes);
        m_sent += sent;
        return sent;
    }
    std::size_t Read(std::span<std::uint8_t> buffer) override { return m_link.Read(buffer); }
    void Purge() override { m_link.Purge(); }
    void Close() override { m_link.Close(); }
    bool IsOpen() const override { return m_link.IsOpen(); }

    std::size_t Sent() const { return m_sent; }

private:
    Link& m_link;
    std::size_t m_sent = 0;
};

} // namespace tervan
