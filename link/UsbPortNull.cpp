#include "link/UsbPort.h"

// The USB link of a build without libusb: it never finds a printer, so everything above it builds
// and runs, and opening "USB" fails like an absent device.
namespace tervan {

// Nothing ever holds one of these here.
void UsbContextDeleter::operator()(libusb_context* /*context*/) const {}
void UsbHandleDeleter::operator()(libusb_device_handle* /*handle*/) const {}

std::vector<UsbLocation> ListUsbPrinters() {
    return {};
}

CUSBPort::~CUSBPort() {
    Close();
}

bool CUSBPort::Open(std::string_view /*location*/) {
    Close();
    return Fail(OpenCause::NotFound, 0);
}

std::size_t CUSBPort::Write(std::span<const std::uint8_t> /*bytes*/) {
    return 0;
}

std::size_t CUSBPort::Read(std::span<std::uint8_t> /*buffer*/) {
    return 0;
}

void CUSBPort::Purge() {
    m_pending.clear();
}

void CUSBPort::Close() {
    m_claimed.reset();
    m_pending.clear();
    m_hDevice.reset();
    m_context.reset();
}

} // namespace tervan
