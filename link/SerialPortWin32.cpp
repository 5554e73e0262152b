#include "link/SerialDcbWin32.h"
#include "link/SerialPort.h"
#include "link/WideTextWin32.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace tervan {

namespace {

// A write that no byte leaves for this long has stalled (a printer that stopped taking data)
// and fails, however much of the byte-scaled budget is left.
constexpr unsigned kStallLimitMs = 10'000;

// The driver gives a write of n bytes 1000 x n + 1000 ms. Written in pieces this small, no single
// call can block longer than the stall limit.
constexpr std::size_t kStallChunk = (kStallLimitMs - kWriteConstantMs) / kWritePerByteMs;
static_assert(kStallChunk > 0);

DWORD ClampToDword(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
}

} // namespace

CSerialPort::~CSerialPort() {
    Close();
}

bool CSerialPort::Open(const std::string& path) {
    Close();
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    // Synchronous I/O; the driver's time-outs bound every call. A COM port admits one opener,
    // so a port in use elsewhere fails here.
    const std::wstring widePath = WidenUtf8(path);
    UniqueHandle handle{::CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (handle.IsNull()) {
        return false;
    }
    // A port left with zero time-outs by another program would let a read block for ever even
    // before Configure; Configure applies the same values again.
    COMMTIMEOUTS timeouts = LinkCommTimeouts();
    static_cast<void>(::SetCommTimeouts(handle.Get(), &timeouts));
    m_hDevice = std::move(handle);
    m_timeouts = SerialTimeouts{};
    return true;
}

ConfigureResult CSerialPort::Configure(std::uint32_t baudRate, char parity, std::uint8_t byteSize) {
    if (m_hDevice.IsNull()) {
        return ConfigureResult::StateUnreadable;
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(m_hDevice.Get(), &dcb)) {
        return ConfigureResult::StateUnreadable;
    }
    // Time-outs before the line settings; a refusal of the time-outs is not fatal.
    m_timeouts = SerialTimeouts{};
    COMMTIMEOUTS timeouts = LinkCommTimeouts();
    static_cast<void>(::SetCommTimeouts(m_hDevice.Get(), &timeouts));

    ApplyLineSettings(dcb, baudRate, parity, byteSize);
    if (!::SetCommState(m_hDevice.Get(), &dcb)) {
        return ConfigureResult::SettingsRefused;
    }
    return ConfigureResult::Ok;
}

std::size_t CSerialPort::Write(std::span<const std::uint8_t> bytes) {
    if (m_hDevice.IsNull() || bytes.empty()) {
        return 0;
    }
    // The whole write keeps its byte-scaled budget; each piece also ends within the stall limit.
    const ULONGLONG deadline = ::GetTickCount64() + WriteTimeoutMs(bytes.size());
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const DWORD piece = ClampToDword(std::min(kStallChunk, bytes.size() - sent));
        DWORD written = 0;
        const BOOL ok = ::WriteFile(m_hDevice.Get(), bytes.data() + sent, piece, &written, nullptr);
        sent += written;
        // A short piece means its time-out ran out: nothing more is leaving the port.
        if (!ok || written < piece || ::GetTickCount64() > deadline) {
            break;
        }
    }
    return sent;
}

std::size_t CSerialPort::Read(std::span<std::uint8_t> buffer) {
    if (m_hDevice.IsNull() || buffer.empty()) {
        return 0;
    }
    // The driver ends the read by the interval and total time-outs set on the port. Only the
    // count matters: bytes that arrived before a failure are still the printer's.
    DWORD got = 0;
    static_cast<void>(
        ::ReadFile(m_hDevice.Get(), buffer.data(), ClampToDword(buffer.size()), &got, nullptr));
    return got;
}

void CSerialPort::Purge() {
    if (!m_hDevice.IsNull()) {
        static_cast<void>(::PurgeComm(m_hDevice.Get(), PURGE_TXCLEAR | PURGE_RXCLEAR));
    }
}

bool CSerialPort::Close() {
    m_hDevice.Reset();
    return true;
}

bool CSerialPort::IsOpen() const {
    return !m_hDevice.IsNull();
}

} // namespace tervan
