#include "base/WideTextWin32.h"
#include "link/UsbDevicePath.h"
#include "link/UsbPort.h"

#include <windows.h>

#include <initguid.h> // GUID_DEVINTERFACE_USB_DEVICE is defined here, not only declared

#include <setupapi.h>
#include <usbiodef.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cwchar>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

namespace tervan {

namespace {

// Longest single transfer; each piece of a write waits at most the stall limit.
constexpr std::size_t kTransferPiece = 4096;

struct DeviceInfoSetCloser {
    void operator()(HDEVINFO set) const { ::SetupDiDestroyDeviceInfoList(set); }
};
using DeviceInfoSet = std::unique_ptr<std::remove_pointer_t<HDEVINFO>, DeviceInfoSetCloser>;

std::u16string ToU16(std::wstring_view text) {
    return {text.begin(), text.end()};
}
std::wstring ToWide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

// The device path of one interface of the set, and the device it belongs to in `device`; empty
// when its detail cannot be read. The detail record lives in a vector of DWORDs, which gives it
// the alignment the structure needs.
std::optional<std::wstring> DevicePathOf(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData,
                                         SP_DEVINFO_DATA& device) {
    DWORD required = 0;
    // Fails by design: it only reports the size the record needs.
    ::SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, nullptr, 0, &required, nullptr);
    if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
        return std::nullopt;
    }
    std::vector<DWORD> storage((required + sizeof(DWORD) - 1) / sizeof(DWORD));
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    device.cbSize = sizeof device;
    if (!::SetupDiGetDeviceInterfaceDetailW(set, &interfaceData, detail, required, nullptr,
                                            &device)) {
        return std::nullopt;
    }
    // The path ends at its terminator, within the record.
    const std::size_t room =
        (required - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    const wchar_t* path = detail->DevicePath;
    return std::wstring(path, std::find(path, path + room, L'\0'));
}

// Where Windows says the device is plugged in, "Port_#0002.Hub_#0003", as hub 3, port 2; hub 0,
// no port when it does not say.
UsbLocation LocationOf(HDEVINFO set, SP_DEVINFO_DATA& device, int index) {
    UsbLocation location{0, index + 1};
    std::array<wchar_t, 128> text{};
    if (!::SetupDiGetDeviceRegistryPropertyW(
            set, &device, SPDRP_LOCATION_INFORMATION, nullptr, reinterpret_cast<BYTE*>(text.data()),
            static_cast<DWORD>(sizeof(text) - sizeof(wchar_t)), nullptr)) {
        return location;
    }
    unsigned port = 0;
    unsigned hub = 0;
    if (std::swscanf(text.data(), L"Port_#%u.Hub_#%u", &port, &hub) == 2) {
        location.bus = static_cast<int>(hub);
        location.portPath = std::to_string(port);
    }
    return location;
}

struct PrinterDevice {
    std::wstring path;
    UsbLocation location;
};

// The present USB device interfaces that carry the printer's marker, in the system's enumeration
// order. The search ends at the first interface whose detail cannot be read, as a later one could
// not be told apart from a missing one anyway.
std::vector<PrinterDevice> FindPrinterDevices() {
    const HDEVINFO raw = ::SetupDiGetClassDevsW(&GUID_DEVINTERFACE_USB_DEVICE, nullptr, nullptr,
                                                DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (raw == INVALID_HANDLE_VALUE) {
        return {};
    }
    const DeviceInfoSet set{raw}; // destroyed once, whichever way the search ends
    std::vector<PrinterDevice> printers;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA interfaceData{};
        interfaceData.cbSize = sizeof interfaceData;
        if (!::SetupDiEnumDeviceInterfaces(set.get(), nullptr, &GUID_DEVINTERFACE_USB_DEVICE, index,
                                           &interfaceData)) {
            return printers;
        }
        SP_DEVINFO_DATA device{};
        const std::optional<std::wstring> path = DevicePathOf(set.get(), interfaceData, device);
        if (!path) {
            return printers;
        }
        if (IsPrinterDevicePath(ToU16(*path))) {
            printers.push_back(
                {*path, LocationOf(set.get(), device, static_cast<int>(printers.size()))});
        }
    }
}

// What the device says once it has been unplugged, or a stand-in for it (a pipe) has hung up.
bool MeansGone(DWORD error) {
    switch (error) {
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED:
        return true;
    default:
        return false;
    }
}

struct Moved {
    std::size_t bytes = 0;
    DWORD error = ERROR_SUCCESS; // why the transfer failed, if it did
};

// Waits for the overlapped transfer just started on `device` (`started` is what ReadFile or
// WriteFile returned) at most `timeoutMs`, and not much longer once `stopRequested` answers true;
// then cancels it and waits for the cancellation to land, so the buffer is never left to a
// transfer that still runs.
Moved AwaitTransfer(HANDLE device, OVERLAPPED& overlapped, BOOL started, unsigned timeoutMs,
                    const std::function<bool()>& stopRequested) {
    if (!started && ::GetLastError() != ERROR_IO_PENDING) {
        return {0, ::GetLastError()};
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    Clock::time_point until = deadline;
    bool stopSeen = false;
    for (;;) {
        if (stopRequested && !stopSeen && stopRequested()) {
            stopSeen = true;
            until = std::min(deadline, Clock::now() + std::chrono::milliseconds(kStopGraceMs));
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
        const DWORD waitMs = static_cast<DWORD>(std::max<std::int64_t>(left.count(), 0));
        const DWORD result = ::WaitForSingleObject(
            overlapped.hEvent, stopRequested ? std::min<DWORD>(waitMs, kStopLookMs) : waitMs);
        if (result == WAIT_OBJECT_0) {
            break;
        }
        if (result != WAIT_TIMEOUT || Clock::now() >= until) {
            ::CancelIoEx(device, &overlapped);
            break;
        }
    }
    DWORD moved = 0;
    const bool ok = ::GetOverlappedResult(device, &overlapped, &moved, TRUE) != FALSE;
    return {moved, ok ? ERROR_SUCCESS : ::GetLastError()};
}

} // namespace

std::optional<std::string> UsbPrinterDevicePath() {
    const std::vector<PrinterDevice> printers = FindPrinterDevices();
    if (printers.empty()) {
        return std::nullopt;
    }
    return NarrowToUtf8(printers.front().path);
}

std::vector<UsbLocation> ListUsbPrinters() {
    std::vector<UsbLocation> locations;
    for (const PrinterDevice& printer : FindPrinterDevices()) {
        locations.push_back(printer.location);
    }
    return locations;
}

CUSBPort::~CUSBPort() {
    Close();
}

bool CUSBPort::Open(std::string_view location) {
    Close();
    Fail(OpenCause::None, 0);
    for (const PrinterDevice& printer : FindPrinterDevices()) {
        if (!location.empty() && UsbLocationName(printer.location) != location) {
            continue;
        }
        const std::optional<std::u16string> openPath = OpenPathFor(ToU16(printer.path));
        if (!openPath) {
            return Fail(OpenCause::NotFound, 0);
        }
        return OpenDevice(NarrowToUtf8(ToWide(*openPath)));
    }
    return Fail(OpenCause::NotFound, 0);
}

bool UsbPortBinding::OpenDevice(const std::string& path) {
    CUSBPort& port = static_cast<CUSBPort&>(*this); // the binding lives only inside a CUSBPort
    port.Close();
    port.Fail(OpenCause::None, 0);
    // Overlapped, so that every transfer can be bounded and cancelled: a device that stops
    // answering would otherwise block a plain ReadFile or WriteFile for ever.
    UniqueHandle device{::CreateFileW(
        WidenUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OVERLAPPED,
        nullptr)};
    if (device.IsNull()) {
        const DWORD error = ::GetLastError();
        switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DEV_NOT_EXIST:
            return port.Fail(OpenCause::NotFound, static_cast<int>(error));
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return port.Fail(OpenCause::Busy, static_cast<int>(error));
        default:
            return port.Fail(OpenCause::Other, static_cast<int>(error));
        }
    }
    UniqueHandle ioDone{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    if (ioDone.IsNull()) {
        return port.Fail(OpenCause::Other, static_cast<int>(::GetLastError()));
    }
    m_hDevice = std::move(device);
    m_ioDone = std::move(ioDone);
    return true;
}

std::size_t CUSBPort::Write(std::span<const std::uint8_t> bytes) {
    if (m_hDevice.IsNull() || m_gone || bytes.empty()) {
        return 0;
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const std::size_t piece = std::min(kTransferPiece, bytes.size() - sent);
        OVERLAPPED overlapped{};
        overlapped.hEvent = m_ioDone.Get();
        const BOOL started = ::WriteFile(m_hDevice.Get(), bytes.data() + sent,
                                         static_cast<DWORD>(piece), nullptr, &overlapped);
        const Moved moved =
            AwaitTransfer(m_hDevice.Get(), overlapped, started,
                          std::min(WriteTimeoutMs(piece), kWriteStallMs), m_stopRequested);
        sent += moved.bytes;
        if (MeansGone(moved.error)) {
            MarkGone(static_cast<int>(moved.error));
        }
        if (moved.bytes < piece) {
            break; // timed out, stopped, failed or gone: the device takes nothing more
        }
    }
    return sent;
}

std::size_t CUSBPort::Read(std::span<std::uint8_t> buffer) {
    if (m_hDevice.IsNull() || m_gone || buffer.empty()) {
        return 0;
    }
    const DWORD count = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), kTransferPiece));
    OVERLAPPED overlapped{};
    overlapped.hEvent = m_ioDone.Get();
    const BOOL started = ::ReadFile(m_hDevice.Get(), buffer.data(), count, nullptr, &overlapped);
    const Moved moved =
        AwaitTransfer(m_hDevice.Get(), overlapped, started, ReadTimeoutMs(count), m_stopRequested);
    if (MeansGone(moved.error)) {
        MarkGone(static_cast<int>(moved.error));
    }
    return moved.bytes;
}

void CUSBPort::Purge() {
    // The device's driver keeps no buffer of its own to discard.
}

void CUSBPort::Close() {
    m_hDevice.Reset();
    m_ioDone.Reset();
    m_gone = false;
}

} // namespace tervan
