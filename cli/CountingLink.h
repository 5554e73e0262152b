#pragma once

#include "link/Link.h"

namespace tervan::cli {

// Passes everything to the real link and counts the bytes that went out.
class CountingLink : public Link {
public:
    explicit CountingLink(Link& inner) : m_inner(inner) {}

    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        const std::size_t sent = m_inner.Write(bytes);
        m_sent += sent;
        return sent;
    }
    std::size_t Read(std::span<std::uint8_t> buffer) override { return m_inner.Read(buffer); }
    std::size_t QueuedBytes() const override { return m_inner.QueuedBytes(); }
    void Purge() override { m_inner.Purge(); }
    void Close() override { m_inner.Close(); }
    bool IsOpen() const override { return m_inner.IsOpen(); }
    bool DeviceGone() const override { return m_inner.DeviceGone(); }

    std::size_t Sent() const { return m_sent; }

private:
    Link& m_inner;
    std::size_t m_sent = 0;
};

} // namespace tervan::cli
