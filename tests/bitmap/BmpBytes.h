#pragma once

#include "base/Bytes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tervan::test {

// Writes out a 1-bit BMP field by field, so each test states the header values it depends on.
// Layout: 14-byte file header, 40-byte information header, two palette entries, zeros up to
// bfOffBits, then `pixels`.
struct BmpFields {
    std::int32_t width = 8;
    std::int32_t height = 1;
    std::uint16_t bitCount = 1;
    std::uint32_t offBits = 62;
    std::optional<std::uint32_t> size{}; // bfSize; the length written when not given
    std::uint32_t infoSize = 40;
    std::uint32_t compression = 0;
    std::array<std::uint8_t, 2> signature{'B', 'M'};
    std::array<std::uint8_t, 8> palette{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}; // black, white
};

inline void PutLe(Bytes& bytes, std::size_t at, std::uint32_t value, int count = 4) {
    for (int i = 0; i < count; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline Bytes MakeBmp(const BmpFields& f, const Bytes& pixels) {
    Bytes b(62, 0);
    b[0] = f.signature[0];
    b[1] = f.signature[1];
    PutLe(b, 10, f.offBits);
    PutLe(b, 14, f.infoSize);
    PutLe(b, 18, static_cast<std::uint32_t>(f.width));
    PutLe(b, 22, static_cast<std::uint32_t>(f.height));
    PutLe(b, 26, 1, 2);
    PutLe(b, 28, f.bitCount, 2);
    PutLe(b, 30, f.compression);
    std::copy(f.palette.begin(), f.palette.end(), b.begin() + 54);
    if (b.size() < f.offBits) {
        b.resize(f.offBits, 0);
    }
    b.insert(b.end(), pixels.begin(), pixels.end());
    PutLe(b, 2, f.size.value_or(static_cast<std::uint32_t>(b.size())));
    return b;
}

} // namespace tervan::test
