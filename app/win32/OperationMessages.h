#pragma once

#include "bitmap/BitmapTransfer.h"
#include "link/PrinterLinks.h"
#include "protocol/ApplySettings.h"
#include "protocol/Strings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the window shows for each outcome of the link and the operations: every such decision of
// the window is here, apart from the code that draws it.
namespace tervan {

struct MessageBoxSpec {
    std::string text; // UTF-8
    std::string caption;
    bool owned = true; // owned by the dialog; the serial port's "BuildCommDCB" box has no owner
    bool informationIcon = true;
};

// The boxes a failed open shows, in order; none for an open or a close.
std::vector<MessageBoxSpec> OpenMessages(const OpenResult& result, std::string_view port,
                                         Language language);

// What the title shows after the caption once the link opened (103), closed (104) or failed to
// open (105); nothing after "连接失败", which leaves the title as it was.
std::optional<StringId> StatusSuffix(OpenOutcome outcome);

struct Verdict {
    StringId text;
    StringId caption;
};

// The verdict box of an apply; none when it was stopped before anything went out.
std::optional<Verdict> ApplyVerdict(ApplyOutcome outcome, bool anythingSent);
// The verdict box of a download; none for a file that could not be opened or a download stopped
// before anything went out.
std::optional<Verdict> DownloadVerdict(const DownloadResult& result, bool anythingSent);

// Where a running conversation is, for the progress window.
enum class ProgressStage { Settling, WaitingForOk, Sending, Rows, Printing, Stopping };

std::string ProgressText(ProgressStage stage, std::size_t step, std::size_t total,
                         Language language);

} // namespace tervan
