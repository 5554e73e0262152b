#pragma once

#include "base/Bytes.h"
#include "link/UsbInterfaceChoice.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

// libusb's opaque handles; only the libusb binding sees their definitions.
struct libusb_context;
struct libusb_device_handle;

namespace tervan {

struct UsbContextDeleter {
    void operator()(libusb_context* context) const;
};
struct UsbHandleDeleter {
    void operator()(libusb_device_handle* handle) const;
};

// What the libusb binding (and the null binding of a build without libusb) keeps of an open
// printer; CUSBPort holds it.
class UsbPortBinding {
protected:
    // One bulk transfer on `endpoint`, bounded by `timeoutMs` and the port's stop check; the bytes
    // it moved.
    std::size_t Transfer(std::uint8_t endpoint, std::span<std::uint8_t> buffer, unsigned timeoutMs);
    std::size_t TakePending(std::span<std::uint8_t> buffer);

    // Declared before the handle so that it is torn down after it.
    std::unique_ptr<libusb_context, UsbContextDeleter> m_context;
    std::unique_ptr<libusb_device_handle, UsbHandleDeleter> m_hDevice; // null while closed
    std::optional<UsbInterfaceChoice> m_claimed;                       // set while open
    Bytes m_pending; // bytes of the last IN transfer beyond what the reader asked for
};

} // namespace tervan
