#include "link/BoundedIo.h"

#include <algorithm>
#include <chrono>

namespace tervan {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kStopGrace{kStopGraceMs};

// Whole milliseconds left until the deadline, rounded up so a wait never wakes just short of it;
// 0 once it has passed.
int MillisUntil(Clock::time_point deadline) {
    const Clock::duration left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<std::int64_t>(ms, 1'000'000'000));
}

std::chrono::milliseconds ReadBudget(const SerialTimeouts& t, std::size_t count) {
    // 64-bit, so a large transfer cannot wrap its own time-out round to a tiny one.
    return std::chrono::milliseconds{std::int64_t{t.readPerByteMs} *
                                         static_cast<std::int64_t>(count) +
                                     std::int64_t{t.readConstantMs}};
}

} // namespace

BoundedResult BoundedWrite(const NonBlockingIo& io, std::span<const std::uint8_t> bytes,
                           const SerialTimeouts& t, const std::function<bool()>& stopRequested) {
    BoundedResult result;
    const Clock::time_point start = Clock::now();
    Clock::time_point deadline = start + WriteGivesUpAfter(bytes.size(), {}, t);
    Clock::time_point stopDeadline = Clock::time_point::max();
    while (result.bytes < bytes.size()) {
        const IoStep step = io.writeSome(bytes.subspan(result.bytes));
        if (step.what == IoTry::Moved) {
            result.bytes += step.bytes;
            // Progress: the stall limit counts afresh from here.
            deadline =
                start + WriteGivesUpAfter(
                            bytes.size(),
                            std::chrono::ceil<std::chrono::milliseconds>(Clock::now() - start), t);
            continue;
        }
        if (step.what == IoTry::Interrupted) {
            continue;
        }
        if (step.what != IoTry::WouldBlock) {
            result.closed = step.what == IoTry::Closed;
            break;
        }
        // The system's buffer is full: wait for room, within the write time-out and the stall
        // limit, and not much longer once a stop has been asked for.
        if (stopRequested && stopDeadline == Clock::time_point::max() && stopRequested()) {
            stopDeadline = Clock::now() + kStopGrace;
        }
        const Clock::time_point until = std::min(deadline, stopDeadline);
        const int waitMs = MillisUntil(until);
        if (waitMs == 0) {
            break;
        }
        // A stop from another thread does not end the wait: look again now and then.
        const IoWait ready =
            io.wait(true, stopRequested ? std::min(waitMs, static_cast<int>(kStopLookMs)) : waitMs);
        if (ready == IoWait::Interrupted) {
            continue;
        }
        if (ready == IoWait::TimedOut && stopRequested) {
            continue; // one look is over; the limits are checked above
        }
        // Room that shows only as the wait runs out does not count: the limit has passed without
        // the printer taking a byte (a pseudo-terminal reports some room on a time-out).
        if (ready != IoWait::Ready || Clock::now() >= until) {
            result.closed = ready == IoWait::Closed;
            break;
        }
    }
    return result;
}

BoundedResult BoundedRead(const NonBlockingIo& io, std::span<std::uint8_t> buffer,
                          const SerialTimeouts& t) {
    BoundedResult result;
    const Clock::time_point totalDeadline = Clock::now() + ReadBudget(t, buffer.size());
    const std::chrono::milliseconds interval{t.readIntervalMs};
    Clock::time_point lastByte{};
    while (result.bytes < buffer.size()) {
        // Once bytes flow, a pause longer than the interval also ends the read.
        const Clock::time_point deadline =
            result.bytes > 0 ? std::min(totalDeadline, lastByte + interval) : totalDeadline;
        const int waitMs = MillisUntil(deadline);
        if (waitMs == 0) {
            break;
        }
        const IoWait ready = io.wait(false, waitMs);
        if (ready == IoWait::Interrupted || ready == IoWait::TimedOut) {
            continue; // the deadline is checked at the top
        }
        if (ready != IoWait::Ready) {
            result.closed = ready == IoWait::Closed;
            break; // hang-up or error with nothing left to read
        }
        const IoStep step = io.readSome(buffer.subspan(result.bytes));
        if (step.what == IoTry::Moved) {
            result.bytes += step.bytes;
            lastByte = Clock::now();
            continue;
        }
        if (step.what == IoTry::Interrupted || step.what == IoTry::WouldBlock) {
            continue;
        }
        result.closed = step.what == IoTry::Closed;
        break; // end of file, or the other end is gone
    }
    return result;
}

} // namespace tervan
