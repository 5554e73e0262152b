#include "bitmap/BitmapTransfer.h"

#include "bitmap/BitmapMessages.h"
#include "protocol/SetupCommandTable.h"

#include <chrono>

namespace tervan {

namespace {

constexpr std::chrono::milliseconds kSettlePause{500};

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

} // namespace

DownloadResult DownloadBitmap(Link& link, std::uint8_t slot, const LoadResult& load,
                              const PauseFn& pause, const StopToken& stop,
                              const ProgressFn& progress) {
    if (stop.StopRequested()) {
        return {DownloadOutcome::Stopped, StringId::DownloadFailed};
    }
    if (load.Outcome() == LoadOutcome::OpenFailed) {
        return {DownloadOutcome::FileNotOpened, StringId::FileReadFailure};
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
    DownloadProgress done{.rowsTotal = height,
                          .bytesTotal = static_cast<std::size_t>(stride) * height};
    bool stopped = false;
    for (int r = 0; whole && !stopped && r < rows.height; ++r) {
        whole = WriteWhole(link, rows.Row(r));
        if (whole) {
            ++done.rowsSent;
            done.bytesSent += stride;
            if (progress) {
                progress(done);
            }
        }
        // A stop after the last row changes nothing: the picture is whole.
        stopped = r + 1 < rows.height && stop.StopRequested();
    }

    if (link.DeviceGone()) {
        return {DownloadOutcome::DeviceGone, StringId::DownloadFailed};
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
    // Rows cut short by the link because of a stop count as stopped as well.
    if (stopped || (!whole && stop.StopRequested())) {
        return {DownloadOutcome::Stopped, StringId::DownloadFailed};
    }
    return whole ? DownloadResult{DownloadOutcome::Stored, StringId::DownloadSuccess}
                 : DownloadResult{DownloadOutcome::WriteFailed, StringId::DownloadFailed};
}

bool PrintBitmap(Link& link, std::uint8_t slot, const StopToken& stop) {
    return !stop.StopRequested() && WriteWhole(link, SetupCommandTable::PrintStoredBitmap(slot));
}

} // namespace tervan
