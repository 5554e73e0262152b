#include "link/PrinterLinks.h"

namespace tervan {

Link& PrinterLinks::ActivePort() {
    if (m_bUsb) {
        return m_usbPort;
    }
    return m_serialPort;
}

void PrinterLinks::SelectUsb(bool usb) {
    if (!m_bConnected) {
        m_bUsb = usb;
    }
}

OpenOutcome PrinterLinks::Open(const std::string& serialPath, const LineSettings& line) {
    if (m_bConnected) {
        return OpenOutcome::Opened;
    }
    OpenOutcome outcome = OpenOutcome::Opened;
    if (m_bUsb) {
        if (!m_usbPort.Open()) {
            outcome = OpenOutcome::UsbOpenFailed;
        }
    } else if (!m_serialPort.Open(serialPath)) {
        outcome = OpenOutcome::SerialOpenFailed;
    } else {
        switch (m_serialPort.Configure(line.baudRate, line.parity, line.byteSize)) {
        case ConfigureResult::Ok:
            break;
        case ConfigureResult::StateUnreadable:
            outcome = OpenOutcome::StateUnreadable;
            break;
        case ConfigureResult::SettingsRefused:
            outcome = OpenOutcome::SettingsRefused;
            break;
        }
    }
    if (outcome != OpenOutcome::Opened) {
        m_serialPort.Close();
        return outcome;
    }
    m_bConnected = true;
    return outcome;
}

void PrinterLinks::Close() {
    ActivePort().Close();
    m_bConnected = false;
}

} // namespace tervan
