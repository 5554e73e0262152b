#include "link/UsbPort.h"

#include <libusb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

namespace tervan {

void UsbContextDeleter::operator()(libusb_context* context) const {
    libusb_exit(context);
}
void UsbHandleDeleter::operator()(libusb_device_handle* handle) const {
    libusb_close(handle);
}

namespace {

using ContextPtr = std::unique_ptr<libusb_context, UsbContextDeleter>;
using HandlePtr = std::unique_ptr<libusb_device_handle, UsbHandleDeleter>;

struct DeviceRefDeleter {
    void operator()(libusb_device* device) const { libusb_unref_device(device); }
};
using DeviceRef = std::unique_ptr<libusb_device, DeviceRefDeleter>;

struct DeviceListDeleter {
    // The list's own references go with it; a device kept beyond it holds a reference of its own.
    void operator()(libusb_device** list) const { libusb_free_device_list(list, 1); }
};
using DeviceList = std::unique_ptr<libusb_device*, DeviceListDeleter>;

struct ConfigDeleter {
    void operator()(libusb_config_descriptor* config) const {
        libusb_free_config_descriptor(config);
    }
};
using ConfigPtr = std::unique_ptr<libusb_config_descriptor, ConfigDeleter>;

using Clock = std::chrono::steady_clock;

struct TransferDeleter {
    void operator()(libusb_transfer* transfer) const { libusb_free_transfer(transfer); }
};

void LIBUSB_CALL MarkCompleted(libusb_transfer* transfer) {
    *static_cast<int*>(transfer->user_data) = 1;
}

// One transfer moves at most this much, which keeps the byte-scaled time-outs within 32 bits.
constexpr std::size_t kMaxTransfer = std::size_t{1} << 20;
// Writes go out in pieces this small, each bounded by the stall limit as well: a piece that the
// printer does not take within the limit means it has stopped reading. At full speed a piece
// takes a few milliseconds.
constexpr std::size_t kWritePiece = 4096;

OpenCause CauseOf(int libusbError) {
    switch (libusbError) {
    case LIBUSB_ERROR_ACCESS:
        return OpenCause::PermissionDenied;
    case LIBUSB_ERROR_BUSY:
        return OpenCause::Busy;
    case LIBUSB_ERROR_NO_DEVICE:
    case LIBUSB_ERROR_NOT_FOUND:
        return OpenCause::NotFound;
    default:
        return OpenCause::Other;
    }
}

ContextPtr NewContext() {
    libusb_context* raw = nullptr;
    if (libusb_init(&raw) != LIBUSB_SUCCESS) {
        return {};
    }
    // The link reports through its results and prints nothing; LIBUSB_DEBUG still wins, for a
    // developer who wants libusb's own account.
    libusb_set_option(raw, LIBUSB_OPTION_LOG_LEVEL, LIBUSB_LOG_LEVEL_NONE);
    return ContextPtr(raw);
}

bool IsPrinter(libusb_device* device) {
    libusb_device_descriptor descriptor{};
    return libusb_get_device_descriptor(device, &descriptor) == LIBUSB_SUCCESS &&
           descriptor.idVendor == kPrinterVendorId && descriptor.idProduct == kPrinterProductId;
}

UsbLocation LocationOf(libusb_device* device) {
    UsbLocation location{libusb_get_bus_number(device), libusb_get_device_address(device)};
    // USB 3 allows seven tiers of hubs.
    std::array<std::uint8_t, 7> ports{};
    const int depth = libusb_get_port_numbers(device, ports.data(), static_cast<int>(ports.size()));
    for (int i = 0; i < depth; ++i) {
        location.portPath +=
            (i == 0 ? "" : ".") + std::to_string(ports[static_cast<std::size_t>(i)]);
    }
    return location;
}

// The printers in libusb's enumeration order, each with a reference of its own.
std::vector<DeviceRef> FindPrinters(libusb_context* context) {
    libusb_device** raw = nullptr;
    const ssize_t count = libusb_get_device_list(context, &raw);
    if (count < 0) {
        return {};
    }
    const DeviceList list(raw);
    std::vector<DeviceRef> printers;
    for (ssize_t i = 0; i < count; ++i) {
        if (IsPrinter(raw[i])) {
            printers.emplace_back(libusb_ref_device(raw[i]));
        }
    }
    return printers;
}

// The first printer, or the one plugged in at `location`.
DeviceRef FindPrinter(libusb_context* context, std::string_view location) {
    for (DeviceRef& device : FindPrinters(context)) {
        if (location.empty() || UsbLocationName(LocationOf(device.get())) == location) {
            return std::move(device);
        }
    }
    return {};
}

UsbTransferType TransferTypeOf(std::uint8_t attributes) {
    switch (attributes & LIBUSB_TRANSFER_TYPE_MASK) {
    case LIBUSB_ENDPOINT_TRANSFER_TYPE_CONTROL:
        return UsbTransferType::Control;
    case LIBUSB_ENDPOINT_TRANSFER_TYPE_ISOCHRONOUS:
        return UsbTransferType::Isochronous;
    case LIBUSB_ENDPOINT_TRANSFER_TYPE_BULK:
        return UsbTransferType::Bulk;
    default:
        return UsbTransferType::Interrupt;
    }
}

// The interfaces of a configuration in their alternate setting 0, the one a claim leaves active.
std::vector<UsbInterfaceInfo> Describe(const libusb_config_descriptor& config) {
    std::vector<UsbInterfaceInfo> interfaces;
    const std::span<const libusb_interface> all(config.interface, config.bNumInterfaces);
    for (const libusb_interface& interface : all) {
        const std::span<const libusb_interface_descriptor> settings(
            interface.altsetting, static_cast<std::size_t>(std::max(interface.num_altsetting, 0)));
        const auto setting = std::find_if(
            settings.begin(), settings.end(),
            [](const libusb_interface_descriptor& s) { return s.bAlternateSetting == 0; });
        if (setting == settings.end()) {
            continue;
        }
        UsbInterfaceInfo info;
        info.number = setting->bInterfaceNumber;
        for (const libusb_endpoint_descriptor& endpoint :
             std::span<const libusb_endpoint_descriptor>(setting->endpoint,
                                                         setting->bNumEndpoints)) {
            const bool in =
                (endpoint.bEndpointAddress & LIBUSB_ENDPOINT_DIR_MASK) == LIBUSB_ENDPOINT_IN;
            info.endpoints.push_back(
                {endpoint.bEndpointAddress, in ? UsbDirection::In : UsbDirection::Out,
                 TransferTypeOf(endpoint.bmAttributes),
                 static_cast<std::uint16_t>(endpoint.wMaxPacketSize & 0x07FF)});
        }
        interfaces.push_back(std::move(info));
    }
    return interfaces;
}

std::optional<UsbInterfaceChoice> ChooseActiveInterface(libusb_device* device) {
    libusb_config_descriptor* raw = nullptr;
    if (libusb_get_active_config_descriptor(device, &raw) != LIBUSB_SUCCESS) {
        return std::nullopt;
    }
    const ConfigPtr config(raw);
    const std::vector<UsbInterfaceInfo> interfaces = Describe(*config);
    return ChooseUsbInterface(interfaces);
}

} // namespace

std::vector<UsbLocation> ListUsbPrinters() {
    const ContextPtr context = NewContext();
    if (!context) {
        return {};
    }
    std::vector<UsbLocation> locations;
    for (const DeviceRef& device : FindPrinters(context.get())) {
        locations.push_back(LocationOf(device.get()));
    }
    return locations;
}

CUSBPort::~CUSBPort() {
    Close();
}

bool CUSBPort::Open(std::string_view location) {
    Close();
    Fail(OpenCause::None, 0);
    // Locals are released in reverse order on every early return: handle, device, context.
    ContextPtr context = NewContext();
    if (!context) {
        return Fail(OpenCause::Other, 0);
    }
    const DeviceRef device = FindPrinter(context.get(), location);
    if (!device) {
        return Fail(OpenCause::NotFound, 0);
    }
    libusb_device_handle* raw = nullptr;
    if (const int error = libusb_open(device.get(), &raw); error != LIBUSB_SUCCESS) {
        return Fail(CauseOf(error), error);
    }
    HandlePtr handle(raw);
    // On Linux the printer class or the CDC-ACM driver holds such a device; libusb detaches it on
    // the claim and gives it back on the release. Systems without that answer "not supported",
    // and there the claim alone decides.
    libusb_set_auto_detach_kernel_driver(handle.get(), 1);
    const std::optional<UsbInterfaceChoice> choice = ChooseActiveInterface(device.get());
    if (!choice) {
        return Fail(OpenCause::NotClaimable, 0);
    }
    if (const int error = libusb_claim_interface(handle.get(), choice->interfaceNumber);
        error != LIBUSB_SUCCESS) {
        return Fail(error == LIBUSB_ERROR_BUSY ? OpenCause::Busy : OpenCause::NotClaimable, error);
    }
    m_context = std::move(context);
    m_hDevice = std::move(handle);
    m_claimed = choice;
    return true;
}

std::size_t UsbPortBinding::Transfer(std::uint8_t endpoint, std::span<std::uint8_t> buffer,
                                     unsigned timeoutMs) {
    CUSBPort& port = static_cast<CUSBPort&>(*this); // the binding lives only inside a CUSBPort
    const std::unique_ptr<libusb_transfer, TransferDeleter> transfer(libusb_alloc_transfer(0));
    if (!transfer) {
        return 0;
    }
    int completed = 0;
    libusb_fill_bulk_transfer(transfer.get(), m_hDevice.get(), endpoint, buffer.data(),
                              static_cast<int>(buffer.size()), MarkCompleted, &completed,
                              timeoutMs);
    if (const int error = libusb_submit_transfer(transfer.get()); error != LIBUSB_SUCCESS) {
        if (error == LIBUSB_ERROR_NO_DEVICE) {
            port.MarkGone(error);
        }
        return 0;
    }
    // libusb ends the transfer at its time-out; a stop ends it half a second after it came. The
    // buffer is never left to a transfer that still runs: a cancelled one is waited for as well.
    Clock::time_point stopDeadline = Clock::time_point::max();
    bool cancelled = false;
    while (completed == 0) {
        timeval look{0, static_cast<long>(kStopLookMs) * 1000};
        const int result =
            libusb_handle_events_timeout_completed(m_context.get(), &look, &completed);
        if (completed != 0) {
            break;
        }
        if (port.m_stopRequested && stopDeadline == Clock::time_point::max() &&
            port.m_stopRequested()) {
            stopDeadline = Clock::now() + std::chrono::milliseconds(kStopGraceMs);
        }
        const bool failed = result < 0 && result != LIBUSB_ERROR_INTERRUPTED;
        if (!cancelled && (failed || Clock::now() >= stopDeadline)) {
            libusb_cancel_transfer(transfer.get());
            cancelled = true;
        }
    }
    if (transfer->status == LIBUSB_TRANSFER_NO_DEVICE) {
        port.MarkGone(LIBUSB_ERROR_NO_DEVICE);
    }
    return static_cast<std::size_t>(std::clamp(transfer->actual_length, 0, transfer->length));
}

std::size_t CUSBPort::Write(std::span<const std::uint8_t> bytes) {
    if (!m_hDevice || !m_claimed || m_gone) {
        return 0;
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const std::size_t chunk = std::min(bytes.size() - sent, kWritePiece);
        // libusb takes a mutable buffer for both directions; an OUT transfer only reads it.
        const std::span<std::uint8_t> piece(const_cast<std::uint8_t*>(bytes.data() + sent), chunk);
        const std::size_t moved =
            Transfer(m_claimed->out.address, piece, std::min(WriteTimeoutMs(chunk), kWriteStallMs));
        sent += moved;
        if (moved != chunk) {
            break; // timed out, stopped, failed or gone: the printer takes nothing more
        }
    }
    return sent;
}

std::size_t CUSBPort::Read(std::span<std::uint8_t> buffer) {
    if (!m_hDevice || !m_claimed || buffer.empty()) {
        return 0;
    }
    if (!m_pending.empty()) {
        return TakePending(buffer);
    }
    if (!m_claimed->in || m_gone) {
        return 0;
    }
    // Ask for whole packets: a packet longer than the request would fail the transfer with an
    // overflow and its bytes would be lost. What the reader did not ask for waits in m_pending.
    const std::size_t wanted = std::min(buffer.size(), kMaxTransfer);
    const std::size_t packet = std::max<std::size_t>(m_claimed->in->maxPacketSize, 1);
    Bytes incoming((wanted + packet - 1) / packet * packet);
    incoming.resize(Transfer(m_claimed->in->address, incoming, ReadTimeoutMs(wanted)));
    m_pending = std::move(incoming);
    return TakePending(buffer);
}

std::size_t UsbPortBinding::TakePending(std::span<std::uint8_t> buffer) {
    const std::size_t n = std::min(buffer.size(), m_pending.size());
    std::copy_n(m_pending.begin(), n, buffer.begin());
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

void CUSBPort::Purge() {
    m_pending.clear();
}

void CUSBPort::Close() {
    if (m_hDevice && m_claimed && !m_gone) {
        // With automatic detach on, the release also hands the interface back to its kernel driver.
        libusb_release_interface(m_hDevice.get(), m_claimed->interfaceNumber);
    }
    m_claimed.reset();
    m_pending.clear();
    m_hDevice.reset();
    m_context.reset();
    m_gone = false;
}

} // namespace tervan
