#pragma once

#include "base/Bytes.h"

#include <cstdint>

// The printer's setup vocabulary. Each command is a fixed prefix plus an encoder that returns a
// fresh byte string for its parameters, so nothing of one send can leak into the next.
namespace tervan::SetupCommandTable {

constexpr std::uint8_t ESC = 0x1B;
constexpr std::uint8_t GS = 0x1D;
constexpr std::uint8_t FS = 0x1C;

// Text commands go out as three writes: the two-byte entry, the text, this terminator.
constexpr std::uint8_t kTextEnd = 0x00;

// The printer's own serial interface, as indices of its four lists (none has a "no change" row).
struct SerialFormat {
    std::uint8_t baudIndex = 3;     // 0 "1200" ... 7 "115200"
    std::uint8_t parityIndex = 0;   // 0 "NONE", 1 "ODD", 2 "EVEN"
    std::uint8_t dataBitsIndex = 1; // 0 "7", 1 "8"
    std::uint8_t flowIndex = 1;     // 0 "XON/XOFF", 1 "RTS/CTS"
};

// Mark offset positions (the parameter a).
constexpr std::uint8_t kMarkStart = 1;
constexpr std::uint8_t kMarkTear = 2;

Bytes EnterSetup();
Bytes LeaveSetup();

// A plain setting's command, ESC code n; each setting's code is in the setting table.
Bytes SetOneByte(std::uint8_t code, std::uint8_t n);

Bytes SetSerialFormat(const SerialFormat& format);
Bytes SetBuzzer(bool onError, bool onCut);

// GS ( F with pL pH = 04 00; the magnitude travels as its low 16 bits (callers that must not
// lose bits refuse larger values before they get here).
Bytes SetMarkOffset(std::uint8_t position, std::int32_t value);

// A text setting's two-byte entry, ESC code; the text and kTextEnd follow in writes of their own.
Bytes TextEntry(std::uint8_t code);

// Header only: the rows follow in writes of their own.
Bytes StoreBitmap(std::uint8_t slot, std::uint16_t rowBytes, std::uint16_t rows);
Bytes PrintStoredBitmap(std::uint8_t slot);

} // namespace tervan::SetupCommandTable
