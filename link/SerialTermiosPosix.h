#pragma once

#include <termios.h>

#include <cstdint>
#include <optional>

namespace tervan {

// The termios speed constant for a rate in bits per second; nullopt for rates termios lacks.
std::optional<speed_t> SpeedFromBaud(std::uint32_t baudRate);

// The port's current settings turned into the link's line settings: raw 8-bit clean line, the
// receiver on and modem lines ignored, the given speed, parity 'N', 'O' or 'E' (any other letter
// keeps the port's parity), 5 to 8 data bits, one stop bit, no flow control, reads that return
// at once (the link waits with poll). Nullopt when the speed or the byte size has no termios
// equivalent, so nothing half-changed is ever applied.
std::optional<termios> BuildLineSettings(const termios& current, std::uint32_t baudRate,
                                         char parity, std::uint8_t byteSize);

} // namespace tervan
