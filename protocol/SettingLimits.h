#pragma once

#include <cstddef>
#include <cstdint>

// How much of each setting the printer and the conversation take. The dialog template, the form's
// rules, the input check, the conversation and the command line's texts all use these, so a limit
// changes in one place.
namespace tervan {

// Characters of a text setting the conversation reads (its buffer holds one more, the
// terminator); the identity edits hold no more than this either.
inline constexpr std::size_t kTextReadLength = 259;

// The Bluetooth name: the edit's length limit, and the bytes it may take in the code page the
// printer is sent (15 Chinese characters in a double-byte code page).
inline constexpr std::size_t kBtNameCharacters = 40;
inline constexpr std::size_t kBtNameBytes = 30;

// The Bluetooth PIN is exactly this many digits.
inline constexpr std::size_t kBtPasswordLength = 4;

// Characters of a mark offset's edit the window reads.
inline constexpr std::size_t kOffsetReadLength = 63;

// The printer takes an offset's magnitude in 16 bits; larger ones are refused, not wrapped.
inline constexpr std::int64_t kMaxMarkOffset = 65535;

} // namespace tervan
