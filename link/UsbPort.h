#pragma once

#include "link/Link.h"
#include "link/UsbInterfaceChoice.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#if defined(_WIN32)
#include "link/UniqueHandleWin32.h"
#endif

// libusb's opaque handles; only the libusb binding sees their definitions.
struct libusb_context;
struct libusb_device_handle;

namespace tervan {

// The printer's USB identity: vendor 0x0483, product 0x5720.
inline constexpr std::uint16_t kPrinterVendorId = 0x0483;
inline constexpr std::uint16_t kPrinterProductId = 0x5720;

struct UsbLocation {
    int bus;
    int device;
};

// Where the first printer in the system's enumeration order sits; empty when there is none or the
// build has no USB binding.
std::optional<UsbLocation> LocateUsbPrinter();

#if defined(_WIN32)
// The device path of the first printer among the present USB device interfaces, as the system
// lists it; empty when there is none.
std::optional<std::string> UsbPrinterDevicePath();
#endif

struct UsbContextDeleter {
    void operator()(libusb_context* context) const;
};
struct UsbHandleDeleter {
    void operator()(libusb_device_handle* handle) const;
};

// The USB link: the first printer present, written with bulk OUT transfers and read with bulk IN
// transfers under the same time-outs as the serial link.
class CUSBPort final : public Link {
public:
    CUSBPort() = default;
    ~CUSBPort() override;

    // Finds, opens and claims the printer; false leaves the link closed. An open link is closed
    // first, so the search always starts afresh.
    bool Open();

    std::size_t Write(std::span<const std::uint8_t> bytes) override;
    std::size_t Read(std::span<std::uint8_t> buffer) override;
    // A write returns once its transfers have completed: nothing waits in the system.
    std::size_t QueuedBytes() const override { return 0; }
    // The device keeps nothing to discard; only bytes left over from an earlier read are dropped.
    void Purge() override;
    void Close() override;
    bool IsOpen() const override { return m_hDevice != nullptr; }

    // Why the last Open failed, and the system's (here libusb's) error number, 0 when none.
    OpenCause FailureCause() const { return m_failureCause; }
    int FailureError() const { return m_failureError; }

private:
    bool Fail(OpenCause cause, int error) {
        m_failureCause = cause;
        m_failureError = error;
        return false;
    }

#if defined(_WIN32)
    UniqueHandle m_hDevice; // null while closed
    UniqueHandle m_ioDone;  // signalled when a transfer ends; made with the handle
#else
    std::size_t TakePending(std::span<std::uint8_t> buffer);

    // Declared before the handle so that it is torn down after it.
    std::unique_ptr<libusb_context, UsbContextDeleter> m_context;
    std::unique_ptr<libusb_device_handle, UsbHandleDeleter> m_hDevice; // null while closed
    std::optional<UsbInterfaceChoice> m_claimed;                       // set while open
    Bytes m_pending;                                                   // bytes of the last IN transfer beyond what the reader asked for
#endif
    OpenCause m_failureCause = OpenCause::None;
    int m_failureError = 0;
};

} // namespace tervan
