#include "link/PrinterLinks.h"

namespace tervan {

Link& PrinterLinks::ActivePort() {
    if (m_tcp) {
        return m_tcpPort;
    }
    if (m_bUsb) {
        return m_usbPort;
    }
    return m_serialPort;
}

void PrinterLinks::SelectUsb(bool usb) {
    if (!m_bConnected) {
        m_bUsb = usb;
        m_usbLocation.clear();
        m_tcp.reset();
    }
}

void PrinterLinks::SelectUsbAt(std::string location) {
    if (!m_bConnected) {
        SelectUsb(true);
        m_usbLocation = std::move(location);
    }
}

void PrinterLinks::SelectTcp(TcpEndpoint endpoint) {
    if (!m_bConnected) {
        SelectUsb(false);
        m_tcp = std::move(endpoint);
    }
}

OpenResult PrinterLinks::Toggle(const std::string& serialPath, const LineSettings& line) {
    if (m_bConnected) {
        Close();
        return {OpenOutcome::Closed, OpenCause::None, 0};
    }
    return Open(serialPath, line);
}

OpenResult PrinterLinks::Open(const std::string& serialPath, const LineSettings& line) {
    if (m_bConnected) {
        return {};
    }
    OpenResult result;
    if (m_tcp) {
        if (!m_tcpPort.Open(*m_tcp)) {
            result = {OpenOutcome::TcpOpenFailed, m_tcpPort.FailureCause(),
                      m_tcpPort.FailureError()};
        }
    } else if (m_bUsb) {
        if (!m_usbPort.Open(m_usbLocation)) {
            result = {OpenOutcome::UsbOpenFailed, m_usbPort.FailureCause(),
                      m_usbPort.FailureError()};
        }
    } else if (!m_serialPort.Open(serialPath)) {
        result = {OpenOutcome::SerialOpenFailed, m_serialPort.FailureCause(),
                  m_serialPort.FailureError()};
        if (result.cause == OpenCause::PermissionDenied) {
            result.access = ReadPortAccess(serialPath).value_or(PortAccess{});
        }
    } else {
        switch (m_serialPort.Configure(line.baudRate, line.parity, line.byteSize)) {
        case ConfigureResult::Ok:
            break;
        case ConfigureResult::StateUnreadable:
            result = {OpenOutcome::StateUnreadable, OpenCause::StateUnreadable,
                      m_serialPort.FailureError()};
            break;
        case ConfigureResult::SettingsRefused:
            result = {OpenOutcome::SettingsRefused, OpenCause::SettingsRefused,
                      m_serialPort.FailureError()};
            break;
        }
    }
    if (result.outcome != OpenOutcome::Opened) {
        m_serialPort.Close();
        return result;
    }
    m_bConnected = true;
    return result;
}

void PrinterLinks::Close() {
    ActivePort().Close();
    m_bConnected = false;
}

} // namespace tervan
