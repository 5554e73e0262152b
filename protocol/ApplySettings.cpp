#include "protocol/ApplySettings.h"

#include "protocol/MarkOffset.h"
#include "protocol/SettingTable.h"
#include "protocol/SetupCommandTable.h"
#include "protocol/ToAnsi.h"
#include "protocol/WaitForOk.h"

namespace tervan {

namespace cmd = SetupCommandTable;

namespace {

constexpr std::chrono::milliseconds kUsbTextPause{30};

// One run of the conversation. Any write that does not go out whole ends it: the printer would
// otherwise hold half a command and the verdict would claim success for bytes it never got. A stop
// is honoured between commands only, never inside one, so the printer is never left waiting for
// the rest of a command when LeaveSetup comes. A counting run sends nothing and only counts the
// commands, so that progress can say "k of n" with the same rules that send them.
class Conversation {
public:
    Conversation(const AnsiCodePage& codePage, Link& link, bool isUsb, const PauseFn& pause,
                 const StopToken& stop)
        : m_codePage(codePage), m_link(link), m_isUsb(isUsb), m_pause(pause), m_stop(stop) {}

    static Conversation Counting(const AnsiCodePage& codePage, Link& link, const PauseFn& pause) {
        Conversation c(codePage, link, false, pause, NeverStop());
        c.m_counting = true;
        return c;
    }

    void ReportTo(const ApplyProgressFn* progress, int total) {
        m_progress = progress;
        m_total = total;
        Report();
    }

    bool Send(const Bytes& bytes) {
        if (!Begin()) {
            return false;
        }
        if (!m_counting && !Write(bytes)) {
            return false;
        }
        return Done();
    }

    // Entry, text bytes, NUL; then the USB link's 30 ms.
    bool SendText(const Bytes& entry, const std::u16string& text) {
        if (!Begin()) {
            return false;
        }
        if (m_counting) {
            return Done();
        }
        const Bytes ansi = ToAnsi(text, m_codePage);
        if (!Write(entry) || (!ansi.empty() && !Write(ansi)) || !Write({cmd::kTextEnd})) {
            return false;
        }
        if (m_isUsb) {
            m_pause(kUsbTextPause);
        }
        return Done();
    }

    int Commands() const { return m_done; }
    // Why the run ended early; a write cut short by the link because of a stop is the stop.
    ApplyOutcome Failure() const {
        if (m_link.DeviceGone()) {
            return ApplyOutcome::DeviceGone;
        }
        return m_stopped || m_stop.StopRequested() ? ApplyOutcome::Stopped
                                                   : ApplyOutcome::WriteFailed;
    }

private:
    bool Begin() {
        if (!m_failed && !m_counting && m_stop.StopRequested()) {
            m_stopped = true;
            m_failed = true;
        }
        return !m_failed;
    }

    bool Write(const Bytes& bytes) {
        if (m_link.Write(bytes) != bytes.size()) {
            m_failed = true;
        }
        return !m_failed;
    }

    bool Done() {
        ++m_done;
        Report();
        return true;
    }

    void Report() const {
        if (m_progress != nullptr && *m_progress) {
            (*m_progress)({ApplyPhase::Sending, m_done, m_total});
        }
    }

    const AnsiCodePage& m_codePage;
    Link& m_link;
    bool m_isUsb;
    const PauseFn& m_pause;
    const StopToken& m_stop;
    const ApplyProgressFn* m_progress = nullptr;
    bool m_counting = false;
    bool m_failed = false;
    bool m_stopped = false;
    int m_done = 0;
    int m_total = 0;
};

// A text setting as its rule has it: skipped, sent, or the end of the run.
std::optional<ApplyOutcome> SendText(const Setting& setting, const TextSetting& value,
                                     Conversation& c) {
    if (!value.checked) {
        return std::nullopt;
    }
    const std::u16string text = value.text.substr(0, kTextReadLength);
    switch (setting.rule) {
    case TextRule::Identity:
        if (text.empty()) {
            return std::nullopt;
        }
        break;
    case TextRule::BtName:
        if (text.empty()) {
            return ApplyOutcome::EmptyBtName;
        }
        break;
    case TextRule::BtPin:
        if (text.size() != kBtPasswordLength) {
            return ApplyOutcome::BadBtPassword;
        }
        break;
    }
    if (!c.SendText(cmd::TextEntry(setting.code), text)) {
        return c.Failure();
    }
    return std::nullopt;
}

// One setting, when the record asks for it; an outcome when the run ends there.
std::optional<ApplyOutcome> SendSetting(const Setting& setting, const PrinterSettings& s,
                                        Conversation& c) {
    bool sent = true;
    switch (setting.kind) {
    case SettingKind::List:
    case SettingKind::Font:
        if (const std::optional<std::uint8_t>& n = s.*setting.item) {
            sent = c.Send(
                cmd::SetOneByte(setting.code, static_cast<std::uint8_t>(*n * setting.scale)));
        }
        break;
    case SettingKind::SerialFormat:
        if (const auto& format = s.*setting.format) {
            sent = c.Send(cmd::SetSerialFormat(*format));
        }
        break;
    case SettingKind::Text:
        return SendText(setting, s.*setting.text, c);
    case SettingKind::Offset:
        // The range was checked before EnterSetup.
        if (const OffsetSetting& offset = s.*setting.offset; offset.set) {
            sent = c.Send(
                cmd::SetMarkOffset(setting.position, static_cast<std::int32_t>(*offset.dots)));
        }
        break;
    case SettingKind::Buzzer:
        if (const auto& buzzer = s.*setting.buzzer) {
            sent = c.Send(cmd::SetBuzzer(buzzer->onError, buzzer->onCut));
        }
        break;
    }
    return sent ? std::nullopt : std::optional(c.Failure());
}

// Steps after "OK": every set setting in the order of sending. Returns the outcome of the run.
ApplyOutcome SendSettings(const PrinterSettings& s, Conversation& c) {
    for (const Setting* setting : kSendingOrder) {
        if (const auto end = SendSetting(*setting, s, c)) {
            return *end;
        }
    }
    return ApplyOutcome::Success;
}

} // namespace

std::optional<OffsetProblem> FindOffsetOutOfRange(const PrinterSettings& settings) {
    for (const Setting* setting : kSendingOrder) {
        if (setting->kind != SettingKind::Offset) {
            continue;
        }
        const OffsetSetting& offset = settings.*setting->offset;
        if (offset.set && (!offset.dots || !MarkOffsetInRange(*offset.dots))) {
            return OffsetProblem{setting->position, offset.dots};
        }
    }
    return std::nullopt;
}

ApplyOutcome ApplySettings(const PrinterSettings& settings, const AnsiCodePage& codePage,
                           Link& link, bool isUsb, const PauseFn& pause, const StopToken& stop,
                           const ApplyProgressFn& progress) {
    if (FindOffsetOutOfRange(settings)) {
        return ApplyOutcome::OffsetOutOfRange;
    }
    // Stopped before anything went out: nothing to undo.
    if (stop.StopRequested()) {
        return ApplyOutcome::Stopped;
    }
    if (!isUsb && link.IsOpen()) {
        link.Purge();
    }
    ApplyOutcome outcome = ApplyOutcome::WriteFailed;
    const Bytes enter = cmd::EnterSetup();
    if (link.Write(enter) == enter.size()) {
        const AttemptFn onAttempt = [&progress](int attempt) {
            if (progress) {
                progress({ApplyPhase::WaitingForOk, attempt, kReplyAttempts});
            }
        };
        switch (WaitForOk(link, pause, stop, onAttempt)) {
        case ReplyOutcome::Ok: {
            Conversation counting = Conversation::Counting(codePage, link, pause);
            SendSettings(settings, counting);
            Conversation conversation(codePage, link, isUsb, pause, stop);
            conversation.ReportTo(&progress, counting.Commands());
            outcome = SendSettings(settings, conversation);
            break;
        }
        case ReplyOutcome::Stopped:
            outcome = ApplyOutcome::Stopped;
            break;
        case ReplyOutcome::NoReply:
            outcome = ApplyOutcome::NoReply;
            break;
        case ReplyOutcome::WrongReply:
            outcome = ApplyOutcome::WrongReply;
            break;
        case ReplyOutcome::DeviceGone:
            outcome = ApplyOutcome::DeviceGone;
            break;
        }
    }
    // A vanished printer cannot be taken out of setup mode; it starts afresh when plugged in.
    if (link.DeviceGone()) {
        return ApplyOutcome::DeviceGone;
    }
    // Once EnterSetup went out, even in part, the printer must be taken out of setup mode.
    const Bytes leave = cmd::LeaveSetup();
    const bool left = link.Write(leave) == leave.size();
    if (outcome == ApplyOutcome::Success && !left) {
        outcome = ApplyOutcome::WriteFailed;
    }
    return outcome;
}

StringId VerdictText(ApplyOutcome outcome) {
    return outcome == ApplyOutcome::Success ? StringId::SetSuccess : StringId::SetFailed;
}

StringId VerdictCaption(ApplyOutcome outcome) {
    return outcome == ApplyOutcome::Success ? StringId::Success : StringId::Failure;
}

} // namespace tervan
