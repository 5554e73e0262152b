#pragma once

#include "link/SerialPort.h"
#include "link/UsbPort.h"

#include <cstdint>
#include <string>

namespace tervan {

// The computer's side of the serial line, from the port group of the form.
struct LineSettings {
    std::uint32_t baudRate = 9600;
    char parity = 'N';
    std::uint8_t byteSize = 8;
};

// How opening the selected link ended; each failure has its own message (the front ends show it).
enum class OpenOutcome {
    Opened,
    SerialOpenFailed, // port missing or busy: "连接失败" / "错误"
    StateUnreadable,  // "BuildCommDCB" / "ERROR", then 121 / 119
    SettingsRefused,  // 121 / 119
    UsbOpenFailed,    // 121 / 119
};

// Both links and the rule that picks the one in use. The window's toggle and the command line
// open and close through here, so both behave alike; neither keeps a link open between operations.
class PrinterLinks {
public:
    // The link in use: USB while it is selected, else the serial port.
    Link& ActivePort();
    bool IsUsb() const { return m_bUsb; }
    bool IsConnected() const { return m_bConnected; }

    // Selecting changes nothing while a link is open (the form locks the port list then).
    void SelectUsb(bool usb);

    // Opens the selected link; on a failure the serial link is closed again.
    OpenOutcome Open(const std::string& serialPath, const LineSettings& line);
    // Closes the link in use.
    void Close();

    CSerialPort m_serialPort;
    CUSBPort m_usbPort;

private:
    bool m_bUsb = false;
    bool m_bConnected = false;
};

} // namespace tervan
