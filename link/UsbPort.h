#pragma once

#include "link/Link.h"
#include "link/UsbInterfaceChoice.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>

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
// transfers under the same time-outs as the serial link. A printer unplugged while the link is
// open ends the transfer under way; from then on the link reports its device gone and every
// write and read fails at once.
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
    bool DeviceGone() const override { return m_gone; }

    // Why the last Open failed (or DeviceGone once the open device vanished), and the system's
    // (libusb's, or Windows') error number, 0 when none.
    OpenCause FailureCause() const { return m_failureCause; }
    int FailureError() const { return m_failureError; }

    // While `stopRequested` answers true, a transfer that waits for the printer gives up half a
    // second later, as the serial link's writes do. Empty: transfers are not stopped.
    void SetStopCheck(std::function<bool()> stopRequested) {
        m_stopRequested = std::move(stopRequested);
    }

#if defined(_WIN32)
    // Opens the device by the path that names it ("\\.\usb#vid_0483&pid_5720#..." as the search
    // finds it), in UTF-8; false leaves the link closed.
    bool OpenDevice(const std::string& path);
#endif

private:
    bool Fail(OpenCause cause, int error) {
        m_failureCause = cause;
        m_failureError = error;
        return false;
    }
    void MarkGone(int error) {
        m_gone = true;
        Fail(OpenCause::DeviceGone, error);
    }

#if defined(_WIN32)
    UniqueHandle m_hDevice; // null while closed
    UniqueHandle m_ioDone;  // signalled when a transfer ends; made with the handle
#else
    // One bulk transfer on `endpoint`, bounded by `timeoutMs` and the stop check; the bytes it
    // moved.
    std::size_t Transfer(std::uint8_t endpoint, std::span<std::uint8_t> buffer, unsigned timeoutMs);
    std::size_t TakePending(std::span<std::uint8_t> buffer);

    // Declared before the handle so that it is torn down after it.
    std::unique_ptr<libusb_context, UsbContextDeleter> m_context;
    std::unique_ptr<libusb_device_handle, UsbHandleDeleter> m_hDevice; // null while closed
    std::optional<UsbInterfaceChoice> m_claimed;                       // set while open
    Bytes m_pending;                                                   // bytes of the last IN transfer beyond what the reader asked for
#endif
    std::function<bool()> m_stopRequested;
    bool m_gone = false;
    OpenCause m_failureCause = OpenCause::None;
    int m_failureError = 0;
};

} // namespace tervan
