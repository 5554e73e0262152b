#include "link/TcpPort.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace tervan {

namespace {

using Clock = std::chrono::steady_clock;

int MillisLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, kTcpConnectLimit.count()));
}

// A host name is looked up on a thread of its own: the system's resolver cannot be bounded or
// stopped, and the connect limit and a stop must hold all the same. A lookup that is given up
// finishes on its own and is thrown away.
std::optional<Resolution> ResolveWithin(const TcpEndpoint& endpoint, Clock::time_point deadline,
                                        const std::function<bool()>& stopRequested) {
    struct Lookup {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Resolution> result;
    };
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host = endpoint.host, port = endpoint.port] {
        Resolution result = ResolveStreamHost(host, port, false);
        const std::scoped_lock lock(lookup->mutex);
        lookup->result = std::move(result);
        lookup->done.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    while (!lookup->result) {
        if (Clock::now() >= deadline || (stopRequested && stopRequested())) {
            return std::nullopt;
        }
        lookup->done.wait_for(lock, std::chrono::milliseconds(kStopLookMs));
    }
    return std::move(lookup->result);
}

} // namespace

bool CTcpPort::Open(const TcpEndpoint& endpoint) {
    Close();
    Fail(OpenCause::None, 0);
    const Clock::time_point deadline = Clock::now() + kTcpConnectLimit;
    Resolution resolved = ResolveStreamHost(endpoint.host, endpoint.port, true);
    if (resolved.notNumeric) {
        std::optional<Resolution> looked = ResolveWithin(endpoint, deadline, m_stopRequested);
        if (!looked) {
            return StopRequested() ? Fail(OpenCause::Stopped, 0)
                                   : Fail(OpenCause::TimedOut, TimedOutError());
        }
        resolved = std::move(*looked);
    }
    if (resolved.addresses.empty()) {
        return resolved.hostUnknown ? Fail(OpenCause::HostUnknown, 0)
                                    : Fail(OpenCause::Other, resolved.error);
    }
    // Each address in turn (a name may stand for an IPv6 and an IPv4 one), all within the limit.
    int lastError = TimedOutError();
    for (const SocketAddress& address : resolved.addresses) {
        Connecting attempt = StartConnect(address);
        while (attempt.error == 0 && !attempt.connected) {
            if (StopRequested()) {
                return Fail(OpenCause::Stopped, 0);
            }
            const int left = MillisLeft(deadline);
            if (left == 0) {
                return Fail(OpenCause::TimedOut, TimedOutError());
            }
            const IoWait wait =
                WaitSocket(attempt.socket, true, std::min(left, static_cast<int>(kStopLookMs)));
            if (wait == IoWait::Ready || wait == IoWait::Closed || wait == IoWait::Failed) {
                attempt.error = ConnectError(attempt.socket);
                attempt.connected = attempt.error == 0;
            }
        }
        if (attempt.connected) {
            SendAtOnce(attempt.socket);
            m_hDevice = std::move(attempt.socket);
            m_timeouts = SerialTimeouts{};
            m_gone = false;
            return true;
        }
        lastError = attempt.error;
        if (MillisLeft(deadline) == 0) {
            break;
        }
    }
    return Fail(CauseOfConnectError(lastError), lastError);
}

std::size_t CTcpPort::Write(std::span<const std::uint8_t> bytes) {
    if (m_hDevice.IsNull() || m_gone || bytes.empty()) {
        return 0;
    }
    const BoundedResult result =
        BoundedWrite(SocketIo(m_hDevice), bytes, m_timeouts, m_stopRequested);
    if (result.closed) {
        m_gone = true;
        Fail(OpenCause::DeviceGone, 0);
    }
    return result.bytes;
}

std::size_t CTcpPort::QueuedBytes() const {
    const SendQueue queue = PendingSend(m_hDevice);
    m_gone = m_gone || queue.broken;
    return queue.unacknowledged;
}

std::size_t CTcpPort::Read(std::span<std::uint8_t> buffer) {
    if (m_hDevice.IsNull() || m_gone || buffer.empty()) {
        return 0;
    }
    const BoundedResult result = BoundedRead(SocketIo(m_hDevice), buffer, m_timeouts);
    if (result.closed) {
        m_gone = true;
        Fail(OpenCause::DeviceGone, 0);
    }
    return result.bytes;
}

void CTcpPort::Purge() {
    if (!m_hDevice.IsNull() && !m_gone) {
        DiscardInput(m_hDevice);
    }
}

void CTcpPort::Close() {
    // Closing lets the system still deliver what was written: the printer gets the closing
    // LeaveSetup even when the program ends right after.
    m_hDevice.Reset();
    m_gone = false;
}

} // namespace tervan
