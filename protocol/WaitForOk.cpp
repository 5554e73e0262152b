#include "protocol/WaitForOk.h"

#include <array>

namespace tervan {

ReplyOutcome WaitForOk(Link& link, const PauseFn& pause, const StopToken& stop,
                       const AttemptFn& onAttempt) {
    std::array<std::uint8_t, 2> reply{};
    std::size_t received = 0;
    for (int attempt = 1; attempt <= kReplyAttempts; ++attempt) {
        pause(kReplyPause);
        if (stop.StopRequested()) {
            return ReplyOutcome::Stopped;
        }
        if (onAttempt) {
            onAttempt(attempt);
        }
        if (!link.IsOpen()) {
            continue;
        }
        received += link.Read(std::span(reply).subspan(received));
        if (link.DeviceGone()) {
            return ReplyOutcome::DeviceGone;
        }
        if (received == reply.size()) {
            return reply[0] == 'O' && reply[1] == 'K' ? ReplyOutcome::Ok : ReplyOutcome::WrongReply;
        }
    }
    return ReplyOutcome::NoReply;
}

} // namespace tervan
