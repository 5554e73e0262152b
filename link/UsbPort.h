#pragma once

#include "link/Link.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#if defined(_WIN32)
#include "link/UsbPortWin32.h"
#else
#include "link/UsbPortLibusb.h"
#endif

namespace tervan {

// The printer's USB identity: vendor 0x0483, product 0x5720.
inline constexpr std::uint16_t kPrinterVendorId = 0x0483;
inline constexpr std::uint16_t kPrinterProductId = 0x5720;

struct UsbLocation {
    int bus;
    int device;                // the address on the bus, which changes when it is plugged in again
    std::string portPath = {}; // the ports from the bus to the printer, "2" or "2.3"; stays put
};

// "BUS-PORTPATH", as --port takes it after "usb:" ("1-2.3"): the place the printer is plugged
// in, which stays the same from one plugging to the next.
std::string UsbLocationName(const UsbLocation& location);

// Every printer present, in the system's enumeration order; empty when there is none or the build
// has no USB binding.
std::vector<UsbLocation> ListUsbPrinters();

// Where the first printer in the system's enumeration order sits.
std::optional<UsbLocation> LocateUsbPrinter();

// The USB link: the first printer present, written with bulk OUT transfers and read with bulk IN
// transfers under the same time-outs as the serial link. A printer unplugged while the link is
// open ends the transfer under way; from then on the link reports its device gone and every
// write and read fails at once. The platform's handle of the open printer is the binding's
// m_hDevice.
class CUSBPort final : public Link, public UsbPortBinding {
public:
    CUSBPort() = default;
    ~CUSBPort() override;

    // Finds, opens and claims the first printer, or with `location` the one plugged in there
    // (UsbLocationName); false leaves the link closed. An open link is closed first, so the search
    // always starts afresh.
    bool Open(std::string_view location = {});

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

private:
    friend class UsbPortBinding; // the binding reports its own failures through Fail

    bool Fail(OpenCause cause, int error) {
        m_failureCause = cause;
        m_failureError = error;
        return false;
    }
    void MarkGone(int error) {
        m_gone = true;
        Fail(OpenCause::DeviceGone, error);
    }

    std::function<bool()> m_stopRequested;
    bool m_gone = false;
    OpenCause m_failureCause = OpenCause::None;
    int m_failureError = 0;
};

} // namespace tervan
