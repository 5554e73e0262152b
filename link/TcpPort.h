#pragma once

#include "link/Link.h"
#include "link/LinkTimeouts.h"
#include "link/Socket.h"
#include "link/TcpEndpoint.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

namespace tervan {

// A connection that is not made within this long fails, whatever the system would still wait.
inline constexpr std::chrono::milliseconds kTcpConnectLimit{3000};

// The network link: a printer's raw TCP port, with the serial link's reply wait and stall limit.
// A printer that closes the connection while the link is open is reported gone, as an unplugged
// USB printer is. The open socket is m_hDevice.
class CTcpPort final : public Link {
public:
    CTcpPort() = default;
    ~CTcpPort() override { Close(); }

    // Resolves the host and connects to its first address that answers, all within the connect
    // limit and ended early by the stop check; false leaves the link closed.
    bool Open(const TcpEndpoint& endpoint);

    std::size_t Write(std::span<const std::uint8_t> bytes) override;
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    // Bytes the printer has not acknowledged yet; a connection found broken meanwhile makes the
    // printer gone.
    std::size_t QueuedBytes() const override;
    // Only what has arrived can be thrown away; what was sent is on its way.
    void Purge() override;
    void Close() override;
    bool IsOpen() const override { return !m_hDevice.IsNull(); }
    bool DeviceGone() const override { return m_gone; }

    OpenCause FailureCause() const { return m_failureCause; }
    int FailureError() const { return m_failureError; }

    // While `stopRequested` answers true, the connection wait ends at once, and a write that waits
    // for the printer gives up half a second later. Empty: neither is stopped.
    void SetStopCheck(std::function<bool()> stopRequested) {
        m_stopRequested = std::move(stopRequested);
    }

private:
    bool Fail(OpenCause cause, int error) {
        m_failureCause = cause;
        m_failureError = error;
        return false;
    }
    bool StopRequested() const { return m_stopRequested && m_stopRequested(); }

    UniqueSocket m_hDevice;
    SerialTimeouts m_timeouts;
    std::function<bool()> m_stopRequested;
    mutable bool m_gone = false; // QueuedBytes may find the connection broken
    OpenCause m_failureCause = OpenCause::None;
    int m_failureError = 0;
};

} // namespace tervan
