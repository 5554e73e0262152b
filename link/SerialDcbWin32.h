#pragma once

#include <windows.h>

#include <cstdint>

namespace tervan {

// The port's reported state turned into the link's line settings: the given speed and data bits,
// binary mode, parity 'N', 'O' or 'E' (any other letter keeps the port's parity), one stop bit,
// no handshake or XON/XOFF in either direction, DTR and RTS held off. Every other field stays as
// the port reported it.
void ApplyLineSettings(DCB& dcb, std::uint32_t baudRate, char parity, std::uint8_t byteSize);

// The link's read and write time-outs in the driver's terms.
COMMTIMEOUTS LinkCommTimeouts();

} // namespace tervan
