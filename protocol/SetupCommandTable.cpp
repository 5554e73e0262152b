#include "protocol/SetupCommandTable.h"

namespace tervan::SetupCommandTable {

namespace {

Bytes WithParameter(std::uint8_t command, std::uint8_t n) {
    return {ESC, command, n};
}

std::uint8_t Low(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
std::uint8_t High(std::uint32_t value) {
    return static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

} // namespace

Bytes EnterSetup() {
    return {ESC, 0x06};
}
Bytes LeaveSetup() {
    return {ESC, 0x16};
}

Bytes SetOneByte(std::uint8_t code, std::uint8_t n) {
    return WithParameter(code, n);
}

Bytes SetSerialFormat(const SerialFormat& format) {
    std::uint8_t n = 0;
    n |= format.baudIndex & 0x07;
    if (format.parityIndex == 0) {
        n |= 0x20;
    } else if (format.parityIndex == 1) {
        n |= 0x40;
    }
    n |= static_cast<std::uint8_t>((format.dataBitsIndex & 0x01) << 4);
    n |= static_cast<std::uint8_t>((format.flowIndex & 0x01) << 3);
    return WithParameter(0x23, n);
}

Bytes SetBuzzer(bool onError, bool onCut) {
    std::uint8_t n = 0;
    if (onError) {
        n |= 0x01;
    }
    if (onCut) {
        n |= 0x02;
    }
    return WithParameter(0x29, n);
}

Bytes SetMarkOffset(std::uint8_t position, std::int32_t value) {
    // Widen first: the magnitude of INT32_MIN does not fit in 32 signed bits.
    const std::int64_t wide = value;
    const auto magnitude = static_cast<std::uint32_t>(wide < 0 ? -wide : wide);
    const std::uint8_t backward = value < 0 ? 1 : 0;
    return {GS, 0x28, 0x46, 0x04, 0x00, position, backward, Low(magnitude), High(magnitude)};
}

Bytes TextEntry(std::uint8_t code) {
    return {ESC, code};
}

Bytes StoreBitmap(std::uint8_t slot, std::uint16_t rowBytes, std::uint16_t rows) {
    return {ESC, 0xFF, slot, Low(rowBytes), High(rowBytes), Low(rows), High(rows)};
}

Bytes PrintStoredBitmap(std::uint8_t slot) {
    return {FS, 0x50, slot};
}

} // namespace tervan::SetupCommandTable
