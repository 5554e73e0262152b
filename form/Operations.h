#pragma once

#include "bitmap/BitmapTransfer.h"
#include "form/BoxMessage.h"
#include "link/Link.h"
#include "protocol/ApplySettings.h"
#include "protocol/PrinterSettings.h"
#include "protocol/Strings.h"
#include "protocol/ToAnsi.h"

#include <optional>
#include <string>

// What both windows show around the three operations (apply, download, print): the refusal
// before anything is opened, the progress while a conversation runs, and the verdict.
namespace tervan {

// The box that refuses the settings before the link is opened (122, 123 or 124 under 106); none
// when they may go to the printer.
std::optional<BoxMessage> RefusalBeforeOpening(const PrinterSettings& settings,
                                               const AnsiCodePage& codePage, Language language);

// `attempted`: whether anything was written to the printer. A run stopped before its first write
// has nothing to report: the window only closes the link.
std::optional<BoxMessage> ApplyVerdict(ApplyOutcome outcome, bool attempted, Language language);
// A file that could not be opened has its box too (112 under 118), though nothing was sent.
std::optional<BoxMessage> DownloadVerdict(const DownloadResult& result, bool attempted,
                                          Language language);

// One state of the progress window. A maximum of 0 shows a bar that only says "busy".
struct ProgressView {
    std::string text;
    int value = 0;
    int maximum = 0;
    // False while the conversation owes the printer bytes: Cancel is disabled, the text shows even
    // after a Cancel, and closing the window abandons the conversation.
    bool cancellable = true;

    bool operator==(const ProgressView&) const = default;
};

ProgressView SettlingProgress(Language language);
ProgressView ApplyProgressView(const ApplyProgress& progress, Language language);
ProgressView DownloadProgressView(const DownloadProgress& progress, Language language);
// The progress window's button, and its text after a Cancel until the conversation has ended
// (LeaveSetup still goes out).
std::string CancelText(Language language);
std::string StoppingText(Language language);

// Passes everything through to `link` and remembers whether a write was asked for.
class AttemptWatch : public Link {
public:
    explicit AttemptWatch(Link& link) : m_link(link) {}

    bool Attempted() const { return m_attempted; }

    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        m_attempted = true;
        return m_link.Write(bytes);
    }
    std::size_t Read(std::span<std::uint8_t> buffer) override { return m_link.Read(buffer); }
    std::size_t QueuedBytes() const override { return m_link.QueuedBytes(); }
    void Purge() override { m_link.Purge(); }
    void Close() override { m_link.Close(); }
    bool IsOpen() const override { return m_link.IsOpen(); }
    bool DeviceGone() const override { return m_link.DeviceGone(); }

private:
    Link& m_link;
    bool m_attempted = false;
};

} // namespace tervan
