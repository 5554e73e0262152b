#include "bitmap/BitmapTransfer.h"

#include "bitmap/BitmapMessages.h"
#include "protocol/SetupCommandTable.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>

namespace tervan {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kSettlePause{500};
// How often the end of a download looks whether the system has passed the last rows on.
constexpr std::chrono::milliseconds kDrainLook{50};

bool WriteWhole(Link& link, std::span<const std::uint8_t> bytes) {
    return link.Write(bytes) == bytes.size();
}

// Rows built by hand rather than by the loader might not describe their own buffer.
bool Describable(const BitmapRows& rows) {
    return rows.stride > 0 && rows.height > 0 && rows.stride <= 0xFFFF && rows.height <= 0xFFFF &&
           rows.pixels.size() >=
               static_cast<std::size_t>(rows.stride) * static_cast<std::size_t>(rows.height);
}

DownloadResult Refuse(Link& link, StringId message) {
    WriteWhole(link, SetupCommandTable::LeaveSetup());
    return {DownloadOutcome::FileRefused, message};
}

// The printer's pace is measured over at least this long a stretch of the latest taken bytes:
// a system that holds more than it tells (a pseudo-terminal tells nothing) takes its first
// kilobytes at once, which a measure from the start would count as the printer's pace.
constexpr std::chrono::seconds kPaceWindow{1};
// A 64 KiB logo takes about nine minutes at 1200 bit/s: far longer, the printer has stalled.
constexpr std::chrono::seconds kLongestEstimate{3600};

// The pixel bytes StoreBitmap has promised the printer: how many have been written, and how many
// of those the printer has taken, for the progress.
class PixelCount {
public:
    PixelCount(Link& link, std::size_t stride, std::size_t height, const ProgressFn& progress)
        : m_link(link), m_stride(stride), m_progress(progress) {
        m_shown.rowsTotal = height;
        m_shown.bytesTotal = stride * height;
    }

    std::size_t Stride() const { return m_stride; }
    std::size_t Written() const { return m_written; }
    std::size_t Owed() const { return m_shown.bytesTotal - m_written; }

    // Writes `bytes` of the promised ones; false when fewer went out.
    bool Write(std::span<const std::uint8_t> bytes) {
        const std::size_t n = m_link.Write(bytes);
        m_written += n;
        return n == bytes.size();
    }

    void StartFilling() { m_shown.filling = true; }

    // Reports what the printer has taken; `queued` is what the system still holds.
    void Report(std::size_t queued) {
        if (!m_progress) {
            return;
        }
        // The header went out first, so whatever the system still holds is the latest rows.
        m_shown.bytesTaken = m_written > queued ? m_written - queued : 0;
        m_shown.rowsTaken = m_shown.bytesTaken / m_stride;
        const Sample now{Clock::now(), m_shown.bytesTaken};
        if (now.at - m_samples.back().at >= kPaceWindow / 8) {
            m_samples.push_back(now);
        }
        while (m_samples.size() > 1 && now.at - m_samples[1].at >= kPaceWindow) {
            m_samples.pop_front();
        }
        if (m_shown.filling) {
            m_shown.timeLeft = TimeLeft(now);
        }
        m_progress(m_shown);
    }

private:
    struct Sample {
        Clock::time_point at;
        std::size_t taken = 0;
    };

    // The rest at the pace of the latest stretch; none before the printer has taken anything,
    // nor for a printer so slow that it has all but stopped.
    std::optional<std::chrono::seconds> TimeLeft(const Sample& now) const {
        const Sample& earlier = m_samples.front();
        const double seconds = std::chrono::duration<double>(now.at - earlier.at).count();
        if (now.taken <= earlier.taken || seconds <= 0) {
            return std::nullopt;
        }
        const double pace = static_cast<double>(now.taken - earlier.taken) / seconds;
        const double left = static_cast<double>(m_shown.bytesTotal - now.taken) / pace;
        if (left > kLongestEstimate.count()) {
            return std::nullopt;
        }
        return std::chrono::seconds{std::max<std::int64_t>(1, std::llround(left))};
    }

    Link& m_link;
    std::size_t m_stride;
    const ProgressFn& m_progress;
    std::size_t m_written = 0;
    DownloadProgress m_shown;
    // What the printer had taken, now and then over the latest kPaceWindow and a little more; the
    // first when StoreBitmap has gone out.
    std::deque<Sample> m_samples{Sample{Clock::now(), 0}};
};

// Sends the rest of the promised bytes as blank pixels: the rest of the row in progress, then
// whole rows. False when a write falls short or an abandon comes first.
bool FillWithBlankRows(Link& link, PixelCount& pixels, const StopToken& stop) {
    const Bytes blank(pixels.Stride(), 0x00);
    pixels.StartFilling();
    pixels.Report(link.QueuedBytes());
    while (pixels.Owed() > 0) {
        if (stop.AbandonRequested()) {
            return false;
        }
        const std::size_t rest = pixels.Stride() - pixels.Written() % pixels.Stride();
        if (!pixels.Write(std::span(blank).first(rest))) {
            return false;
        }
        pixels.Report(link.QueuedBytes());
    }
    return true;
}

// Waits, in short pauses, until the system has passed every written byte on to the printer, so
// that the closing pauses give the printer its time after the last row instead of passing while
// the rows are still on their way. A queue that does not shrink for the stall limit ends the wait
// as a failure: the printer has stopped taking the rows, however much room the system still has
// for the closing commands (a network connection holds far more than a serial port). A printer
// found gone meanwhile ends it as a failure at once.
bool WaitUntilTaken(Link& link, const PauseFn& pause, const StopToken& stop, PixelCount& pixels) {
    std::size_t queued = link.QueuedBytes();
    std::chrono::milliseconds unchanged{0};
    while (queued > 0 && !link.DeviceGone() &&
           unchanged < std::chrono::milliseconds{kWriteStallMs} && !stop.WaitsEnd()) {
        pause(kDrainLook);
        const std::size_t now = link.QueuedBytes();
        unchanged = now < queued ? std::chrono::milliseconds{0} : unchanged + kDrainLook;
        queued = now;
        pixels.Report(queued);
    }
    return !link.DeviceGone() &&
           (queued == 0 || unchanged < std::chrono::milliseconds{kWriteStallMs});
}

} // namespace

DownloadResult DownloadBitmap(Link& link, std::uint8_t slot, const LoadResult& load,
                              const PauseFn& pause, const StopToken& stop,
                              const ProgressFn& progress) {
    if (stop.StopRequested()) {
        return {DownloadOutcome::Stopped, StringId::DownloadFailed, slot};
    }
    if (load.Outcome() == LoadOutcome::OpenFailed) {
        return {DownloadOutcome::FileNotOpened, StringId::FileReadFailure, slot};
    }
    if (load.Rows() == nullptr) {
        return Refuse(link, LoadMessage(load.Outcome()).value_or(StringId::FileReadFailure));
    }
    const BitmapRows& rows = *load.Rows();
    if (!Describable(rows)) {
        return Refuse(link, StringId::NotMonochrome);
    }

    const auto stride = static_cast<std::uint16_t>(rows.stride);
    const auto height = static_cast<std::uint16_t>(rows.height);
    bool whole = WriteWhole(link, SetupCommandTable::EnterSetup()) &&
                 WriteWhole(link, SetupCommandTable::StoreBitmap(slot, stride, height));
    PixelCount pixels(link, stride, height, progress);
    bool stopped = false;
    for (int r = 0; whole && !stopped && r < rows.height; ++r) {
        whole = pixels.Write(rows.Row(r));
        if (whole) {
            pixels.Report(link.QueuedBytes());
        }
        // A stop makes a write the printer is slow to take give up soon, maybe in the middle of
        // a row: the fill goes on from there, and finds out whether the link has failed instead.
        // A stop after the last row changes nothing.
        stopped = stop.StopRequested() && pixels.Owed() > 0;
    }
    // The printer counts every byte as a pixel until stride x height have come, and needs the
    // closing pauses after them: from here a stop no longer cuts writes or pauses short.
    StopToken::Promise promise;
    if (whole || stopped) {
        promise.Make(stop);
    }
    if (stopped) {
        whole = FillWithBlankRows(link, pixels, stop);
        if (!whole && stop.AbandonRequested()) {
            return {DownloadOutcome::Abandoned, StringId::StillInSetupMode, slot};
        }
    }
    if (whole && pause && !WaitUntilTaken(link, pause, stop, pixels)) {
        whole = false;
    }
    if (!whole) {
        promise.Release(); // the link is gone or stuck: the closing is only an attempt
    }

    if (link.DeviceGone()) {
        return {DownloadOutcome::DeviceGone, StringId::DownloadFailed, slot};
    }
    // The pauses give the printer time to store the rows; LeaveSetup goes out twice in case the
    // first arrives while it is still busy.
    if (pause) {
        pause(kSettlePause);
    }
    whole = WriteWhole(link, SetupCommandTable::LeaveSetup()) && whole;
    if (pause) {
        pause(kSettlePause);
    }
    whole = WriteWhole(link, SetupCommandTable::LeaveSetup()) && whole;
    if (stopped && whole) {
        return {DownloadOutcome::Stopped, StringId::DownloadStopped, slot};
    }
    return whole ? DownloadResult{DownloadOutcome::Stored, StringId::DownloadSuccess, slot}
                 : DownloadResult{DownloadOutcome::WriteFailed, StringId::DownloadFailed, slot};
}

bool PrintBitmap(Link& link, std::uint8_t slot, const StopToken& stop) {
    return !stop.StopRequested() && WriteWhole(link, SetupCommandTable::PrintStoredBitmap(slot));
}

} // namespace tervan
