#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tervan::sim {

struct EscCommand;

// What the printer has to do about a command besides logging it.
enum class PrinterAction {
    None,
    AnswerSetup, // 1B 06: the peer waits for "OK"
    StoreLogo,   // StoreBitmap complete, picture in `logo`
    PrintLogo,   // FS P n
};

constexpr std::size_t kLogoSlots = 9;
// A picture larger than this is read past but not kept: the stream stays in step without the
// printer holding whatever a peer claims to send.
constexpr std::size_t kMaxLogoBytes = std::size_t{1} << 20;

struct Logo {
    std::uint16_t rowBytes = 0;     // x
    std::uint16_t rows = 0;         // y
    std::vector<std::uint8_t> bits; // rows in the order received, x bytes each
};

struct DecodedCommand {
    std::string line;
    PrinterAction action = PrinterAction::None;
    std::uint8_t slot = 0; // StoreLogo, PrintLogo
    Logo logo;             // StoreLogo
};

// Turns the bytes the peer writes into commands, from the printer's side. Bytes may arrive in
// any split: a command cut short at the end of one chunk completes with the next.
class CommandDecoder {
public:
    std::vector<DecodedCommand> Feed(std::span<const std::uint8_t> bytes);

private:
    enum class State {
        Idle,
        Esc,          // after 1B
        EscParameter, // one-byte setting
        Text,         // text up to NUL
        BitmapHeader, // n xL xH yL yH
        BitmapRows,   // x * y bytes
        Gs,           // after 1D
        GsParen,      // after 1D 28
        GsLength,     // after 1D 28 46: pL pH
        GsBody,       // pL + 256 pH bytes
        Fs,           // after 1C
        FsParameter,  // after 1C 50
    };

    void Step(std::uint8_t byte, std::vector<DecodedCommand>& out);
    void Emit(DecodedCommand command, std::vector<DecodedCommand>& out);
    void FlushUnrecognised(std::vector<DecodedCommand>& out);
    void FinishBitmap(std::vector<DecodedCommand>& out);
    void FinishMarkOffset(std::vector<DecodedCommand>& out);
    void Reset();

    State m_state = State::Idle;
    std::vector<std::uint8_t> m_unrecognised;
    std::vector<std::uint8_t> m_prefix; // the bytes of the command so far (short fields only)
    const EscCommand* m_command = nullptr;
    std::vector<std::uint8_t> m_kept; // text or GS ( F body, as far as it is kept
    std::size_t m_dropped = 0;        // bytes of it past what is kept
    std::size_t m_remaining = 0;      // bitmap rows or GS ( F body still to come
    bool m_keepBitmap = false;
    Logo m_logo;
};

} // namespace tervan::sim
