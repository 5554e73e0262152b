#include "protocol/ApplySettings.h"

#include "protocol/MarkOffset.h"
#include "protocol/SetupCommandTable.h"
#include "protocol/ToAnsi.h"
#include "protocol/WaitForOk.h"

#include <cstdlib>

namespace tervan {

namespace cmd = SetupCommandTable;

namespace {

constexpr std::size_t kTextReadAtMost = 259;
constexpr std::chrono::milliseconds kUsbTextPause{30};

std::int32_t OffsetValue(const OffsetSetting& offset) {
    return ParseMarkOffset(offset.text);
}

// One run of the conversation. Any write that does not go out whole ends it: the printer would
// otherwise hold half a command and the verdict would claim success for bytes it never got.
class Conversation {
public:
    Conversation(Link& link, bool isUsb, const PauseFn& pause)
        : m_link(link), m_isUsb(isUsb), m_pause(pause) {}

    bool Send(const Bytes& bytes) {
        if (m_failed) {
            return false;
        }
        if (m_link.Write(bytes) != bytes.size()) {
            m_failed = true;
        }
        return !m_failed;
    }

    bool SendIf(const std::optional<std::uint8_t>& n, Bytes (*encode)(std::uint8_t)) {
        return !n || Send(encode(*n));
    }

    // Entry, text bytes, NUL; then the USB link's 30 ms.
    bool SendText(Bytes entry, const std::u16string& text) {
        const Bytes ansi = ToAnsi(text);
        if (!Send(entry) || (!ansi.empty() && !Send(ansi)) || !Send({cmd::kTextEnd})) {
            return false;
        }
        if (m_isUsb) {
            m_pause(kUsbTextPause);
        }
        return true;
    }

    bool Failed() const { return m_failed; }

private:
    Link& m_link;
    bool m_isUsb;
    const PauseFn& m_pause;
    bool m_failed = false;
};

std::u16string ReadText(const TextSetting& setting) {
    return setting.text.substr(0, kTextReadAtMost);
}

// Steps after "OK": every set setting in the fixed order. Returns the outcome of the run.
ApplyOutcome SendSettings(const PrinterSettings& s, Conversation& c) {
    const auto failed = [] { return ApplyOutcome::WriteFailed; };
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

ApplyOutcome ApplySettings(const PrinterSettings& settings, Link& link, bool isUsb,
                           const PauseFn& pause) {
    if (FindOffsetOutOfRange(settings)) {
        return ApplyOutcome::OffsetOutOfRange;
    }
    if (!isUsb && link.IsOpen()) {
        link.Purge();
    }
    Conversation conversation(link, isUsb, pause);
    ApplyOutcome outcome = ApplyOutcome::WriteFailed;
    if (conversation.Send(cmd::EnterSetup())) {
        switch (WaitForOk(link, pause)) {
        case ReplyOutcome::Ok:
            outcome = SendSettings(settings, conversation);
            break;
        case ReplyOutcome::NoReply:
            outcome = ApplyOutcome::NoReply;
            break;
        case ReplyOutcome::WrongReply:
            outcome = ApplyOutcome::WrongReply;
            break;
        }
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
