#include "protocol/ApplySettings.h"

#include "protocol/MarkOffset.h"
#include "protocol/SetupCommandTable.h"
#include "protocol/ToAnsi.h"
#include "protocol/WaitForOk.h"

#include <cstdlib>
#include <utility>

namespace tervan {

namespace cmd = SetupCommandTable;

namespace {

constexpr std::size_t kTextReadAtMost = 259;
constexpr std::chrono::milliseconds kUsbTextPause{30};

std::int32_t OffsetValue(const OffsetSetting& offset) {
    return ParseMarkOffset(offset.text);
}

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

    bool SendIf(const std::optional<std::uint8_t>& n, Bytes (*encode)(std::uint8_t)) {
        return !n || Send(encode(*n));
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

std::u16string ReadText(const TextSetting& setting) {
    return setting.text.substr(0, kTextReadAtMost);
}

// Steps after "OK": every set setting in the fixed order. Returns the outcome of the run.
ApplyOutcome SendSettings(const PrinterSettings& s, Conversation& c) {
    const auto failed = [&c] { return c.Failure(); };
    if (!c.SendIf(s.codePage, cmd::SetCodePage) || !c.SendIf(s.font, cmd::SetFont) ||
        !c.SendIf(s.language, cmd::SetLanguage) || !c.SendIf(s.cutter, cmd::SetCutter)) {
        return failed();
    }
    if (s.serialFormat && !c.Send(cmd::SetSerialFormat(*s.serialFormat))) {
        return failed();
    }
    const struct {
        const TextSetting& setting;
        Bytes (*entry)();
    } identity[] = {
        {s.manufacturer, cmd::SetManufacturer},
        {s.model, cmd::SetModel},
        {s.serialNumber, cmd::SetSerialNumber},
    };
    for (const auto& [setting, entry] : identity) {
        const std::u16string text = ReadText(setting);
        if (setting.checked && !text.empty() && !c.SendText(entry(), text)) {
            return failed();
        }
    }
    if (s.btName.checked) {
        const std::u16string text = ReadText(s.btName);
        if (text.empty()) {
            return ApplyOutcome::EmptyBtName;
        }
        if (!c.SendText(cmd::SetBtName(), text)) {
            return failed();
        }
    }
    if (s.btPassword.checked) {
        const std::u16string text = ReadText(s.btPassword);
        if (text.size() != 4) {
            return ApplyOutcome::BadBtPassword;
        }
        if (!c.SendText(cmd::SetBtPassword(), text)) {
            return failed();
        }
    }
    if (!c.SendIf(s.markDetect, cmd::SetMarkDetect)) {
        return failed();
    }
    if (s.markStart.set && !c.Send(cmd::SetMarkOffset(cmd::kMarkStart, OffsetValue(s.markStart)))) {
        return failed();
    }
    if (s.markTear.set && !c.Send(cmd::SetMarkOffset(cmd::kMarkTear, OffsetValue(s.markTear)))) {
        return failed();
    }
    if (!c.SendIf(s.markSensitivity, cmd::SetMarkSensitivity) ||
        !c.SendIf(s.speed, cmd::SetSpeed) || !c.SendIf(s.density, cmd::SetDensity) ||
        !c.SendIf(s.crMode, cmd::SetCrMode) || !c.SendIf(s.direction, cmd::SetDirection) ||
        !c.SendIf(s.paperWidth, cmd::SetPaperWidth) || !c.SendIf(s.usbMode, cmd::SetUsbMode)) {
        return failed();
    }
    if (s.buzzer && !c.Send(cmd::SetBuzzer(s.buzzer->onError, s.buzzer->onCut))) {
        return failed();
    }
    return ApplyOutcome::Success;
}

} // namespace

std::optional<OffsetProblem> FindOffsetOutOfRange(const PrinterSettings& settings) {
    const std::pair<const OffsetSetting&, std::uint8_t> offsets[] = {
        {settings.markStart, cmd::kMarkStart},
        {settings.markTear, cmd::kMarkTear},
    };
    for (const auto& [offset, position] : offsets) {
        if (!offset.set) {
            continue;
        }
        const std::int32_t value = OffsetValue(offset);
        if (std::llabs(value) > kMaxMarkOffset) {
            return OffsetProblem{position, value};
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
