#include "EmulatedUsbPrinter.h"

#include <umockdev.h>

#include <gtest/gtest.h>
#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

namespace tervan::test {

namespace {

using DataPtr = std::unique_ptr<UMockdevIoctlData, GObjectUnref>;
using ClientPtr = std::unique_ptr<UMockdevIoctlClient, GObjectUnref>;

// The kernel makes poll() wait until a transfer can be reaped; umockdev's device node is always
// ready, so libusb would ask again at once, for ever. A reap that finds nothing, unless it only
// ends a run of reaps that did, is answered this much later instead, which stands in for the
// wait.
constexpr guint kPollStandInMs = 5;

DataPtr Resolve(UMockdevIoctlData* data, std::size_t offset, std::size_t length) {
    return DataPtr(umockdev_ioctl_data_resolve(data, offset, length, nullptr));
}

template <class T> T* As(const DataPtr& data) {
    return reinterpret_cast<T*>(data->data);
}

// The descriptors libusb reads from sysfs, in hex: the device, then its one configuration.
std::string Descriptors(const UsbDeviceLayout& layout) {
    std::string interfaces;
    std::size_t length = 9;
    char hex[64];
    for (const UsbInterfaceLayout& interface : layout.interfaces) {
        std::snprintf(hex, sizeof hex, "0904%02X00%02X%02X010200", interface.number,
                      static_cast<unsigned>(interface.endpoints.size()), interface.interfaceClass);
        interfaces += hex;
        for (const UsbEndpointLayout& endpoint : interface.endpoints) {
            std::snprintf(hex, sizeof hex, "0705%02X%02X400000", endpoint.address,
                          endpoint.attributes);
            interfaces += hex;
        }
        length += 9 + 7 * interface.endpoints.size();
    }
    char head[80];
    std::snprintf(head, sizeof head,
                  "12010002%02X000040%02X%02X%02X%02X000101020301"
                  "0902%02X00%02X0100C032",
                  layout.deviceClass, layout.vendor & 0xFF, layout.vendor >> 8,
                  layout.product & 0xFF, layout.product >> 8, static_cast<unsigned>(length),
                  static_cast<unsigned>(layout.interfaces.size()));
    return head + interfaces;
}

gboolean OnIoctl(UMockdevIoctlBase* /*handler*/, UMockdevIoctlClient* client, gpointer device) {
    return static_cast<EmulatedUsbDevice*>(device)->Handle(client);
}

} // namespace

void GObjectUnref::operator()(void* object) const {
    g_object_unref(object);
}

struct EmulatedUsbDevice::Urb {
    DataPtr urb;    // the client's usbdevfs_urb, resolved when it was submitted
    DataPtr buffer; // its buffer
    gulong address; // where the client keeps the urb
};

EmulatedUsbDevice::EmulatedUsbDevice(UsbDeviceLayout layout, int number)
    : m_layout(std::move(layout)), m_number(number) {}

EmulatedUsbDevice::~EmulatedUsbDevice() = default;

std::string EmulatedUsbDevice::DevicePath() const {
    char path[32];
    std::snprintf(path, sizeof path, "/dev/bus/usb/001/%03d", m_number);
    return path;
}

std::string EmulatedUsbDevice::Record() const {
    char head[512];
    std::snprintf(head, sizeof head,
                  "P: /devices/pci0000:00/0000:00:14.0/usb1/1-%d\nN: bus/usb/001/%03d\n"
                  "E: DEVNAME=/dev/bus/usb/001/%03d\nE: DEVTYPE=usb_device\nE: SUBSYSTEM=usb\n"
                  "E: BUSNUM=001\nE: DEVNUM=%03d\nA: busnum=1\nA: devnum=%d\n"
                  "A: bConfigurationValue=1\nA: speed=480\n",
                  m_number, m_number, m_number, m_number, m_number);
    return head + ("H: descriptors=" + Descriptors(m_layout) + "\n");
}

void EmulatedUsbDevice::SetFault(Fault fault) {
    const std::lock_guard lock(m_mutex);
    m_fault = fault;
}

void EmulatedUsbDevice::UnplugAfter(std::size_t bytes) {
    const std::lock_guard lock(m_mutex);
    m_unplugAfter = bytes;
}

void EmulatedUsbDevice::Unplug() {
    const std::lock_guard lock(m_mutex);
    UnplugLocked();
}

EmulatedUsbDevice::Observed EmulatedUsbDevice::Seen() const {
    const std::lock_guard lock(m_mutex);
    Observed seen = m_seen;
    for (const UsbInterfaceLayout& interface : m_layout.interfaces) {
        seen.drivers[interface.number] = BoundDriver(interface.number);
    }
    return seen;
}

std::string EmulatedUsbDevice::BoundDriver(std::uint8_t interface) const {
    const auto found = m_drivers.find(interface);
    return found == m_drivers.end() ? m_layout.driver : found->second;
}

void EmulatedUsbDevice::Complete(Urb& urb, int status) {
    As<usbdevfs_urb>(urb.urb)->status = status;
    m_done.push_back(std::move(urb));
}

void EmulatedUsbDevice::UnplugLocked() {
    if (m_seen.unpluggedAt) {
        return;
    }
    m_seen.unpluggedAt = std::chrono::steady_clock::now();
    for (Urb& urb : m_inFlight) {
        Complete(urb, -ESHUTDOWN);
    }
    m_inFlight.clear();
}

void EmulatedUsbDevice::TakeOut(Urb& urb) {
    auto* u = As<usbdevfs_urb>(urb.urb);
    std::size_t taken = static_cast<std::size_t>(u->buffer_length);
    const bool unplug = m_unplugAfter && m_seen.received.size() + taken >= *m_unplugAfter;
    if (unplug) {
        taken = *m_unplugAfter - std::min(*m_unplugAfter, m_seen.received.size());
    }
    for (std::size_t i = 0; i < taken; ++i) {
        const std::uint8_t byte = urb.buffer->data[i];
        if (!m_seen.received.empty() && m_seen.received.back() == 0x1B && byte == 0x06 &&
            m_fault != Fault::Silent) {
            m_reply.insert(m_reply.end(), {'O', 'K'});
        }
        m_seen.received.push_back(byte);
    }
    m_seen.outTransfers.push_back(taken);
    m_seen.outEndpoint = u->endpoint;
    u->actual_length = static_cast<int>(taken);
    Complete(urb, unplug ? -ESHUTDOWN : 0);
    if (unplug) {
        UnplugLocked();
    }
}

void EmulatedUsbDevice::ServeReads() {
    for (auto urb = m_inFlight.begin(); urb != m_inFlight.end() && !m_reply.empty();) {
        auto* u = As<usbdevfs_urb>(urb->urb);
        if ((u->endpoint & 0x80) == 0) {
            ++urb;
            continue;
        }
        // A short packet ends the transfer.
        const std::size_t n = std::min(m_reply.size(), static_cast<std::size_t>(u->buffer_length));
        std::memcpy(urb->buffer->data, m_reply.data(), n);
        m_reply.erase(m_reply.begin(), m_reply.begin() + static_cast<std::ptrdiff_t>(n));
        u->actual_length = static_cast<int>(n);
        Complete(*urb, 0);
        urb = m_inFlight.erase(urb);
    }
}

void EmulatedUsbDevice::Answer(UMockdevIoctlClient* client, bool holdIfEmpty) {
    if (!m_done.empty()) {
        Urb urb = std::move(m_done.front());
        m_done.pop_front();
        const DataPtr slot = Resolve(umockdev_ioctl_client_get_arg(client), 0, sizeof(void*));
        umockdev_ioctl_data_set_ptr(slot.get(), 0, urb.urb.get());
        umockdev_ioctl_client_complete(client, 0, 0);
        m_reaped = true;
        return;
    }
    const bool drained = std::exchange(m_reaped, false);
    if (m_seen.unpluggedAt || !holdIfEmpty || drained) {
        umockdev_ioctl_client_complete(client, -1, m_seen.unpluggedAt ? ENODEV : EAGAIN);
        return;
    }
    m_held.emplace_back(static_cast<UMockdevIoctlClient*>(g_object_ref(client)));
    GSource* source = g_timeout_source_new(kPollStandInMs);
    g_source_set_callback(source, &EmulatedUsbDevice::HeldReapDue, this, nullptr);
    g_source_attach(source, g_main_context_get_thread_default());
    g_source_unref(source);
}

int EmulatedUsbDevice::HeldReapDue(void* data) {
    auto* self = static_cast<EmulatedUsbDevice*>(data);
    const std::lock_guard lock(self->m_mutex);
    const ClientPtr client(self->m_held.front().release());
    self->m_held.pop_front();
    self->Answer(client.get(), false);
    return G_SOURCE_REMOVE;
}

int EmulatedUsbDevice::Handle(UMockdevIoctlClient* client) {
    const gulong request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    const std::lock_guard lock(m_mutex);
    if (request == USBDEVFS_REAPURB || request == USBDEVFS_REAPURBNDELAY) {
        Answer(client, true);
        return TRUE;
    }
    const auto reply = [client](int error) {
        umockdev_ioctl_client_complete(client, error == 0 ? 0 : -1, error);
        return TRUE;
    };
    if (m_seen.unpluggedAt) {
        return reply(ENODEV);
    }
    const auto known = [this](unsigned interface) {
        return std::any_of(
            m_layout.interfaces.begin(), m_layout.interfaces.end(),
            [interface](const UsbInterfaceLayout& i) { return i.number == interface; });
    };
    const auto claim = [&](unsigned interface, bool detach) {
        if (!known(interface)) {
            return reply(EINVAL);
        }
        const auto number = static_cast<std::uint8_t>(interface);
        if (m_fault == Fault::ClaimBusy || (!detach && !BoundDriver(number).empty())) {
            return reply(EBUSY);
        }
        m_drivers[number].clear();
        m_seen.claimed[number] = true;
        return reply(0);
    };
    switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
        const DataPtr caps = Resolve(arg, 0, sizeof(__u32));
        *As<__u32>(caps) = USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
                           USBDEVFS_CAP_REAP_AFTER_DISCONNECT;
        return reply(0);
    }
    case USBDEVFS_DISCONNECT_CLAIM: {
        const DataPtr claimData = Resolve(arg, 0, sizeof(usbdevfs_disconnect_claim));
        return claim(As<usbdevfs_disconnect_claim>(claimData)->interface, true);
    }
    case USBDEVFS_CLAIMINTERFACE: {
        const DataPtr number = Resolve(arg, 0, sizeof(unsigned));
        return claim(*As<unsigned>(number), false);
    }
    case USBDEVFS_RELEASEINTERFACE: {
        const DataPtr number = Resolve(arg, 0, sizeof(unsigned));
        const auto interface = static_cast<std::uint8_t>(*As<unsigned>(number));
        if (!m_seen.claimed[interface]) {
            return reply(EINVAL);
        }
        m_seen.claimed[interface] = false;
        return reply(0);
    }
    case USBDEVFS_GETDRIVER: {
        const DataPtr query = Resolve(arg, 0, sizeof(usbdevfs_getdriver));
        auto* q = As<usbdevfs_getdriver>(query);
        const auto interface = static_cast<std::uint8_t>(q->interface);
        const std::string driver = m_seen.claimed[interface] ? "usbfs" : BoundDriver(interface);
        if (driver.empty()) {
            return reply(ENODATA);
        }
        std::snprintf(q->driver, sizeof q->driver, "%s", driver.c_str());
        return reply(0);
    }
    case USBDEVFS_IOCTL: {
        const DataPtr command = Resolve(arg, 0, sizeof(usbdevfs_ioctl));
        const auto* c = As<usbdevfs_ioctl>(command);
        const auto interface = static_cast<std::uint8_t>(c->ifno);
        if (c->ioctl_code == static_cast<int>(USBDEVFS_DISCONNECT)) {
            const bool bound = !BoundDriver(interface).empty();
            m_drivers[interface].clear();
            return reply(bound ? 0 : ENODATA);
        }
        if (c->ioctl_code == static_cast<int>(USBDEVFS_CONNECT) && !m_seen.claimed[interface]) {
            m_drivers[interface] = m_layout.driver;
        }
        return reply(0);
    }
    case USBDEVFS_SUBMITURB: {
        DataPtr urbData = Resolve(arg, 0, sizeof(usbdevfs_urb));
        auto* u = As<usbdevfs_urb>(urbData);
        const bool exists =
            std::any_of(m_layout.interfaces.begin(), m_layout.interfaces.end(),
                        [u](const UsbInterfaceLayout& i) {
                            return std::any_of(i.endpoints.begin(), i.endpoints.end(),
                                               [u](const UsbEndpointLayout& e) {
                                                   return e.address == u->endpoint;
                                               });
                        });
        if (!exists) {
            return reply(ENOENT);
        }
        DataPtr buffer = Resolve(urbData.get(), offsetof(usbdevfs_urb, buffer),
                                 static_cast<std::size_t>(u->buffer_length));
        const gulong address = urbData->client_addr;
        Urb urb{std::move(urbData), std::move(buffer), address};
        const bool in = (u->endpoint & 0x80) != 0;
        if (in || m_fault == Fault::StopsReading) {
            m_inFlight.push_back(std::move(urb));
        } else {
            TakeOut(urb);
        }
        if (in && m_fault == Fault::UnplugOnRead) {
            UnplugLocked();
        }
        ServeReads();
        return reply(0);
    }
    case USBDEVFS_DISCARDURB: {
        // The argument is the urb's own address.
        const gulong address = *reinterpret_cast<const gulong*>(arg->data);
        const auto urb = std::find_if(m_inFlight.begin(), m_inFlight.end(),
                                      [address](const Urb& u) { return u.address == address; });
        if (urb == m_inFlight.end()) {
            return reply(EINVAL);
        }
        Complete(*urb, -ENOENT);
        m_inFlight.erase(urb);
        return reply(0);
    }
    default:
        return reply(ENOTTY);
    }
}

UsbTestbed::UsbTestbed() : m_testbed(umockdev_testbed_new()) {}

UsbTestbed::~UsbTestbed() {
    // The test bed's worker thread answers the devices' requests: it ends before they go.
    g_object_unref(m_testbed);
}

bool UsbTestbed::Mocked() {
    return umockdev_in_mock_environment() != FALSE;
}

EmulatedUsbDevice& UsbTestbed::Add(const UsbDeviceLayout& layout) {
    auto& device = *m_devices.emplace_back(
        std::make_unique<EmulatedUsbDevice>(layout, static_cast<int>(m_devices.size()) + 2));
    GError* error = nullptr;
    UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
    g_signal_connect(handler, "handle-ioctl", G_CALLBACK(OnIoctl), &device);
    if (!umockdev_testbed_add_from_string(m_testbed, device.Record().c_str(), &error) ||
        !umockdev_testbed_attach_ioctl(m_testbed, device.DevicePath().c_str(), handler, &error)) {
        ADD_FAILURE() << "emulated USB device " << device.Number() << ": " << error->message;
        g_error_free(error);
    }
    g_object_unref(handler);
    return device;
}

} // namespace tervan::test
