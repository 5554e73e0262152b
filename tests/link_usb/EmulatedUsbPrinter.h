#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// umockdev's opaque types; only EmulatedUsbPrinter.cpp sees their definitions.
struct _UMockdevTestbed;
struct _UMockdevIoctlClient;

namespace tervan::test {

using Bytes = std::vector<std::uint8_t>;

struct GObjectUnref {
    void operator()(void* object) const;
};

struct UsbEndpointLayout {
    std::uint8_t address;        // 0x80 set: IN
    std::uint8_t attributes = 2; // 2 bulk, 3 interrupt
};

struct UsbInterfaceLayout {
    std::uint8_t number;
    std::uint8_t interfaceClass; // 7 printer, 3 HID, 9 hub
    std::vector<UsbEndpointLayout> endpoints;
};

// What a USB device tells about itself: the descriptors libusb reads from sysfs.
struct UsbDeviceLayout {
    std::uint16_t vendor = 0x0483;
    std::uint16_t product = 0x5720;
    std::uint8_t deviceClass = 0;
    std::vector<UsbInterfaceLayout> interfaces{{0, 7, {{0x01}, {0x81}}}};
    std::string driver; // the kernel driver bound to every interface at first; empty: none
};

// How the device answers, changed at any time from the test's thread.
enum class Fault {
    None,
    Silent,       // takes everything, never answers
    ClaimBusy,    // another program holds the interfaces: a claim fails with EBUSY
    StopsReading, // OUT transfers never complete until they are cancelled
    UnplugOnRead, // vanishes as soon as a reply is asked for
};

// One emulated USB device behind the usbdevfs requests libusb sends (claim, release, submit,
// reap, discard, the driver requests). It answers requests as they come, whatever their order:
// it takes every OUT transfer whole and records it, and answers an IN transfer with "OK" once
// 1B 06 has arrived. Unplugged, it behaves as the kernel does: transfers in flight come back
// first (status -ESHUTDOWN), then every request fails with ENODEV.
class EmulatedUsbDevice {
public:
    EmulatedUsbDevice(UsbDeviceLayout layout, int number);
    ~EmulatedUsbDevice();
    EmulatedUsbDevice(const EmulatedUsbDevice&) = delete;
    EmulatedUsbDevice& operator=(const EmulatedUsbDevice&) = delete;

    int Number() const { return m_number; } // the device number on bus 1
    std::string DevicePath() const;         // "/dev/bus/usb/001/00N"
    std::string Record() const;             // the device in umockdev's text format

    void SetFault(Fault fault);
    // Vanishes once this many bytes have arrived; the OUT transfer that reaches the count is cut
    // there.
    void UnplugAfter(std::size_t bytes);
    void Unplug();

    // What the device has seen so far.
    struct Observed {
        Bytes received;                        // every OUT byte, in order
        std::vector<std::size_t> outTransfers; // the length of each OUT transfer taken
        std::optional<std::uint8_t> outEndpoint;
        std::optional<std::chrono::steady_clock::time_point> unpluggedAt;
        std::map<std::uint8_t, bool> claimed;
        std::map<std::uint8_t, std::string> drivers; // kernel drivers bound; empty: none
    };
    Observed Seen() const;

    // umockdev's worker thread calls this for each request of a client.
    int Handle(_UMockdevIoctlClient* client);

private:
    struct Urb;
    void Complete(Urb& urb, int status);
    void Answer(_UMockdevIoctlClient* client, bool holdIfEmpty);
    void TakeOut(Urb& urb);
    void ServeReads();
    void UnplugLocked();
    std::string BoundDriver(std::uint8_t interface) const;
    static int HeldReapDue(void* data);

    const UsbDeviceLayout m_layout;
    const int m_number;
    mutable std::mutex m_mutex;
    Fault m_fault = Fault::None;
    std::optional<std::size_t> m_unplugAfter;
    Observed m_seen;
    Bytes m_reply; // what the printer still has to say
    std::map<std::uint8_t, std::string> m_drivers;
    std::list<Urb> m_inFlight;
    std::list<Urb> m_done; // ready to be reaped
    bool m_reaped = false; // the last reap found a transfer
    std::list<std::unique_ptr<_UMockdevIoctlClient, GObjectUnref>> m_held; // reaps not answered yet
};

// A umockdev test bed with USB devices on bus 1. While it lives, libusb in this process (and in
// the processes it starts) sees only these devices; it needs the preload library
// (umockdev-wrapper).
class UsbTestbed {
public:
    UsbTestbed();
    ~UsbTestbed();
    UsbTestbed(const UsbTestbed&) = delete;
    UsbTestbed& operator=(const UsbTestbed&) = delete;

    // False when the program does not run under the preload library: then nothing is emulated,
    // and a test must not go on (it would reach the machine's real devices).
    static bool Mocked();

    EmulatedUsbDevice& Add(const UsbDeviceLayout& layout);

private:
    _UMockdevTestbed* m_testbed;
    std::list<std::unique_ptr<EmulatedUsbDevice>> m_devices;
};

} // namespace tervan::test
