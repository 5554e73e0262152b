#include "sim/CommandDecoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace tervan::sim {

namespace {

constexpr std::uint8_t kEsc = 0x1B;
constexpr std::uint8_t kGs = 0x1D;
constexpr std::uint8_t kFs = 0x1C;
constexpr std::uint8_t kGsParen = 0x28;
constexpr std::uint8_t kGsFunctionF = 0x46;
constexpr std::uint8_t kFsPrint = 0x50;
constexpr std::uint8_t kTextEnd = 0x00;

// A line stays readable: long texts and long unknown runs are cut.
constexpr std::size_t kShownTextBytes = 256;
constexpr std::size_t kShownBodyBytes = 16;
constexpr std::size_t kUnrecognisedPerLine = 16;

std::string Hex(std::uint8_t byte) {
    std::array<char, 4> text{};
    std::snprintf(text.data(), text.size(), "%02X", byte);
    return text.data();
}

std::string HexList(std::span<const std::uint8_t> bytes) {
    std::string out;
    for (const std::uint8_t byte : bytes) {
        out += (out.empty() ? "" : " ") + Hex(byte);
    }
    return out;
}

// Printable ASCII as it stands, anything else (and the quote and backslash) escaped.
std::string Quoted(std::span<const std::uint8_t> text, std::size_t dropped) {
    std::string out = "\"";
    for (const std::uint8_t byte : text) {
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte >= 0x20 && byte <= 0x7E) {
            out += static_cast<char>(byte);
        } else {
            out += "\\x" + Hex(byte);
        }
    }
    out += '"';
    if (dropped > 0) {
        out += " (+" + std::to_string(dropped) + " bytes)";
    }
    return out;
}

std::uint16_t Word(std::uint8_t low, std::uint8_t high) {
    return static_cast<std::uint16_t>(low | (high << 8));
}

} // namespace

// The ESC commands the printer knows, by their second byte.
struct EscCommand {
    enum class Shape { NoParameter, Number, BitField, Text, Bitmap };
    std::uint8_t code;
    const char* name;
    Shape shape;
};

namespace {

using Shape = EscCommand::Shape;

constexpr std::array kEscCommands{
    EscCommand{0x06, "EnterSetup", Shape::NoParameter},
    EscCommand{0x16, "LeaveSetup", Shape::NoParameter},
    EscCommand{0x21, "SetFont", Shape::Number},
    EscCommand{0x22, "SetLanguage", Shape::Number},
    EscCommand{0x23, "SetSerialFormat", Shape::BitField},
    EscCommand{0x24, "SetManufacturer", Shape::Text},
    EscCommand{0x25, "SetModel", Shape::Text},
    EscCommand{0x26, "SetSerialNumber", Shape::Text},
    EscCommand{0x28, "SetMarkSensitivity", Shape::Number},
    EscCommand{0x29, "SetBuzzer", Shape::BitField},
    EscCommand{0x2B, "SetMarkDetect", Shape::Number},
    EscCommand{0x2C, "SetSpeed", Shape::Number},
    EscCommand{0x2D, "SetPaperWidth", Shape::Number},
    EscCommand{0x2E, "SetCrMode", Shape::Number},
    EscCommand{0x63, "SetDirection", Shape::Number},
    EscCommand{0x74, "SetCodePage", Shape::Number},
    EscCommand{0xFD, "SetDensity", Shape::Number},
    EscCommand{0xFF, "StoreBitmap", Shape::Bitmap},
    EscCommand{0x30, "SetUsbMode", Shape::Number},
    EscCommand{0x32, "SetCutter", Shape::Number},
    EscCommand{0x11, "SetBtName", Shape::Text},
    EscCommand{0x10, "SetBtPassword", Shape::Text},
};

const EscCommand* FindEscCommand(std::uint8_t code) {
    const auto found = std::find_if(kEscCommands.begin(), kEscCommands.end(),
                                    [code](const EscCommand& c) { return c.code == code; });
    return found != kEscCommands.end() ? &*found : nullptr;
}

} // namespace

std::vector<DecodedCommand> CommandDecoder::Feed(std::span<const std::uint8_t> bytes) {
    std::vector<DecodedCommand> out;
    for (const std::uint8_t byte : bytes) {
        Step(byte, out);
    }
    // Stray bytes are shown as they come; only a command cut short waits for more.
    FlushUnrecognised(out);
    return out;
}

void CommandDecoder::Step(std::uint8_t byte, std::vector<DecodedCommand>& out) {
    // A prefix that turns out to be no command: its bytes are stray, and the byte that broke
    // it is looked at again from the start, since it may begin a command itself.
    const auto notACommand = [&] {
        m_unrecognised.insert(m_unrecognised.end(), m_prefix.begin(), m_prefix.end());
        Reset();
        Step(byte, out);
    };

    switch (m_state) {
    case State::Idle:
        if (byte == kEsc || byte == kGs || byte == kFs) {
            m_prefix.assign(1, byte);
            m_state = byte == kEsc ? State::Esc : byte == kGs ? State::Gs : State::Fs;
        } else {
            m_unrecognised.push_back(byte);
        }
        return;

    case State::Esc:
        m_command = FindEscCommand(byte);
        if (m_command == nullptr) {
            return notACommand();
        }
        m_prefix.push_back(byte);
        switch (m_command->shape) {
        case Shape::NoParameter: {
            DecodedCommand command{m_command->name, PrinterAction::None, 0, {}};
            if (byte == 0x06) {
                command.action = PrinterAction::AnswerSetup;
            }
            Reset();
            return Emit(std::move(command), out);
        }
        case Shape::Number:
        case Shape::BitField:
            m_state = State::EscParameter;
            return;
        case Shape::Text:
            m_state = State::Text;
            return;
        case Shape::Bitmap:
            m_state = State::BitmapHeader;
            return;
        }
        return;

    case State::EscParameter: {
        std::string line = std::string(m_command->name) + " n=";
        line += m_command->shape == Shape::BitField ? "0x" + Hex(byte) : std::to_string(byte);
        Reset();
        return Emit({std::move(line), PrinterAction::None, 0, {}}, out);
    }

    case State::Text:
        if (byte == kTextEnd) {
            std::string line = std::string(m_command->name) + " " + Quoted(m_kept, m_dropped);
            Reset();
            return Emit({std::move(line), PrinterAction::None, 0, {}}, out);
        }
        if (m_kept.size() < kShownTextBytes) {
            m_kept.push_back(byte);
        } else {
            ++m_dropped;
        }
        return;

    case State::BitmapHeader:
        m_prefix.push_back(byte);
        if (m_prefix.size() == 7) {
            m_logo.rowBytes = Word(m_prefix[3], m_prefix[4]);
            m_logo.rows = Word(m_prefix[5], m_prefix[6]);
            m_remaining = std::size_t{m_logo.rowBytes} * m_logo.rows;
            m_keepBitmap = m_prefix[2] < kLogoSlots && m_remaining <= kMaxLogoBytes;
            if (m_keepBitmap) {
                m_logo.bits.reserve(m_remaining);
            }
            if (m_remaining == 0) {
                return FinishBitmap(out);
            }
            m_state = State::BitmapRows;
        }
        return;

    case State::BitmapRows:
        if (m_keepBitmap) {
            m_logo.bits.push_back(byte);
        }
        if (--m_remaining == 0) {
            FinishBitmap(out);
        }
        return;

    case State::Gs:
        if (byte != kGsParen) {
            return notACommand();
        }
        m_prefix.push_back(byte);
        m_state = State::GsParen;
        return;

    case State::GsParen:
        if (byte != kGsFunctionF) {
            return notACommand();
        }
        m_prefix.push_back(byte);
        m_state = State::GsLength;
        return;

    case State::GsLength:
        m_prefix.push_back(byte);
        if (m_prefix.size() == 5) {
            m_remaining = Word(m_prefix[3], m_prefix[4]);
            if (m_remaining == 0) {
                return FinishMarkOffset(out);
            }
            m_state = State::GsBody;
        }
        return;

    case State::GsBody:
        if (m_kept.size() < kShownBodyBytes) {
            m_kept.push_back(byte);
        } else {
            ++m_dropped;
        }
        if (--m_remaining == 0) {
            FinishMarkOffset(out);
        }
        return;

    case State::Fs:
        if (byte != kFsPrint) {
            return notACommand();
        }
        m_prefix.push_back(byte);
        m_state = State::FsParameter;
        return;

    case State::FsParameter: {
        DecodedCommand command{
            "PrintStoredBitmap slot=" + std::to_string(byte), PrinterAction::PrintLogo, byte, {}};
        Reset();
        return Emit(std::move(command), out);
    }
    }
}

void CommandDecoder::FinishBitmap(std::vector<DecodedCommand>& out) {
    const std::uint8_t slot = m_prefix[2];
    DecodedCommand command{"StoreBitmap slot=" + std::to_string(slot) +
                               " x=" + std::to_string(m_logo.rowBytes) +
                               " y=" + std::to_string(m_logo.rows),
                           PrinterAction::StoreLogo,
                           slot,
                           {}};
    if (!m_keepBitmap) {
        command.action = PrinterAction::None;
        command.line +=
            slot >= kLogoSlots ? " (no such slot, not stored)" : " (too large, not stored)";
    } else {
        command.logo = std::move(m_logo);
    }
    Reset();
    Emit(std::move(command), out);
}

void CommandDecoder::FinishMarkOffset(std::vector<DecodedCommand>& out) {
    std::string line;
    if (m_prefix[3] == 4 && m_prefix[4] == 0) {
        line = "SetMarkOffset a=" + std::to_string(m_kept[0]) + " m=" + std::to_string(m_kept[1]) +
               " n=" + std::to_string(Word(m_kept[2], m_kept[3]));
    } else {
        // Another length is no offset setting this printer knows; shown whole, as read.
        line = "? " + HexList(m_prefix);
        if (!m_kept.empty()) {
            line += " " + HexList(m_kept);
        }
        if (m_dropped > 0) {
            line += " (+" + std::to_string(m_dropped) + " bytes)";
        }
    }
    Reset();
    Emit({std::move(line), PrinterAction::None, 0, {}}, out);
}

void CommandDecoder::Emit(DecodedCommand command, std::vector<DecodedCommand>& out) {
    FlushUnrecognised(out);
    out.push_back(std::move(command));
}

void CommandDecoder::FlushUnrecognised(std::vector<DecodedCommand>& out) {
    const std::span<const std::uint8_t> all(m_unrecognised);
    for (std::size_t at = 0; at < all.size(); at += kUnrecognisedPerLine) {
        const auto part = all.subspan(at, std::min(kUnrecognisedPerLine, all.size() - at));
        out.push_back({"? " + HexList(part), PrinterAction::None, 0, {}});
    }
    m_unrecognised.clear();
}

void CommandDecoder::Reset() {
    m_state = State::Idle;
    m_prefix.clear();
    m_command = nullptr;
    m_kept.clear();
    m_dropped = 0;
    m_remaining = 0;
    m_keepBitmap = false;
    m_logo = Logo{};
}

} // namespace tervan::sim
