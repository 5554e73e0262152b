#pragma once

#include "base/Bytes.h"
#include "link/Link.h"

#include <ostream>

namespace tervan::cli {

// No printer: every write is printed as one line of hex, and the printer is taken to answer "OK"
// to every setup request, so the whole conversation shows. Output that cannot be written (a full
// disk, a closed pipe) fails the write, so the conversation ends and the run can say so.
class DryRunLink : public Link {
public:
    explicit DryRunLink(std::ostream& out) : m_out(out) {}

    std::size_t Write(std::span<const std::uint8_t> bytes) override;
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    std::size_t QueuedBytes() const override { return 0; }
    void Purge() override {}
    void Close() override {}
    bool IsOpen() const override { return true; }

    bool OutputFailed() const { return m_error != 0; }
    int OutputError() const { return m_error; }

private:
    std::ostream& m_out;
    int m_error = 0;
    Bytes m_reply; // what the printer still has to say
};

} // namespace tervan::cli
