#pragma once

#include "link/PortAccess.h"
#include "link/SerialPort.h"
#include "link/TcpPort.h"
#include "link/UsbPort.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

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
    TcpOpenFailed,    // 121 / 119: no connection to a network printer
    Closed,           // a toggle closed the open link
};

struct OpenResult {
    OpenOutcome outcome = OpenOutcome::Opened;
    OpenCause cause = OpenCause::None;
    int systemError = 0; // errno, libusb's error number on USB, or Winsock's; 0 when none
    // A serial port the user may not open: who may, so that the remedy can be named. Unknown
    // (no owner) otherwise.
    PortAccess access = {};
};

// Both links and the rule that picks the one in use, with the hidden open/close button's toggle.
// The windows and the command line open and close through here, so all behave alike. A link
// stays open from the toggle that opens it to the one that closes it; an operation opens it at
// its start and closes it at its end.
class PrinterLinks {
public:
    // The link in use: USB or the network while selected, else the serial port.
    Link& ActivePort();
    bool IsUsb() const { return m_bUsb; }
    bool IsTcp() const { return m_tcp.has_value(); }
    bool IsConnected() const { return m_bConnected; }

    // Selecting changes nothing while a link is open (the form locks the port list then). USB
    // means the first printer found, unless a place is selected with SelectUsbAt.
    void SelectUsb(bool usb);
    // The USB printer plugged in at `location` (UsbLocationName); empty: the first one.
    void SelectUsbAt(std::string location);
    // The network printer at `endpoint`.
    void SelectTcp(TcpEndpoint endpoint);

    // A click of the hidden button: closes the open link (outcome Closed), or opens the selected
    // one as Open does.
    OpenResult Toggle(const std::string& serialPath, const LineSettings& line);

    // Opens the selected link; on a failure the serial link is closed again and nothing stays
    // connected. Opening while connected changes nothing.
    OpenResult Open(const std::string& serialPath, const LineSettings& line);
    // Closes the link in use.
    void Close();

    // Lets a stop end a write or a USB transfer that waits on a printer which takes nothing (see
    // CSerialPort::SetStopCheck, CUSBPort::SetStopCheck).
    void SetStopCheck(const std::function<bool()>& stopRequested) {
        m_serialPort.SetStopCheck(stopRequested);
        m_usbPort.SetStopCheck(stopRequested);
        m_tcpPort.SetStopCheck(stopRequested);
    }

private:
    CSerialPort m_serialPort;
    CUSBPort m_usbPort;
    CTcpPort m_tcpPort;
    bool m_bUsb = false;
    std::string m_usbLocation;
    std::optional<TcpEndpoint> m_tcp;
    bool m_bConnected = false;
};

} // namespace tervan
