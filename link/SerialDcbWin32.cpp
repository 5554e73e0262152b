#include "link/SerialDcbWin32.h"

#include "link/SerialPort.h"

namespace tervan {

void ApplyLineSettings(DCB& dcb, std::uint32_t baudRate, char parity, std::uint8_t byteSize) {
    dcb.BaudRate = baudRate;
    dcb.fBinary = 1;
    switch (parity) {
    case 'N':
        dcb.Parity = NOPARITY;
        break;
    case 'O':
        dcb.Parity = ODDPARITY;
        break;
    case 'E':
        dcb.Parity = EVENPARITY;
        break;
    default:
        break;
    }
    dcb.ByteSize = byteSize;
    dcb.StopBits = ONESTOPBIT;
    // The printer speaks without any flow control; a handshake line left on by an earlier
    // program would hold every byte back.
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
}

COMMTIMEOUTS LinkCommTimeouts() {
    const SerialTimeouts t;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = t.readIntervalMs;
    timeouts.ReadTotalTimeoutMultiplier = t.readPerByteMs;
    timeouts.ReadTotalTimeoutConstant = t.readConstantMs;
    timeouts.WriteTotalTimeoutMultiplier = t.writePerByteMs;
    timeouts.WriteTotalTimeoutConstant = t.writeConstantMs;
    return timeouts;
}

} // namespace tervan
