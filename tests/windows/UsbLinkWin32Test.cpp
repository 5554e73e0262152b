#include "link/UsbPort.h"
#include "link/UsbPortWin32.h"
#include "protocol/ApplySettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

// The USB link's overlapped reads and writes, with a named pipe whose server plays the printer in
// place of the device. (The SetupAPI search for a real printer has nothing to find here.)
namespace tervan {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

enum class Behaviour { Answers, Silent, HangsUp };

// Reads what the link writes; answers "OK" to 1B 06 unless silent; a printer that hangs up does
// so once 1B 06 has arrived, without a word.
class PipePrinter {
public:
    explicit PipePrinter(Behaviour behaviour) : m_behaviour(behaviour) {
        static int s_count = 0;
        m_name = "\\\\.\\pipe\\tervan-usb-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(++s_count);
        m_pipe = ::CreateNamedPipeA(m_name.c_str(), PIPE_ACCESS_DUPLEX,
                                    PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096, 4096,
                                    0, nullptr);
        m_thread = std::thread([this] { Serve(); });
    }
    ~PipePrinter() {
        Finish();
        ::CloseHandle(m_pipe);
    }
    PipePrinter(const PipePrinter&) = delete;
    PipePrinter& operator=(const PipePrinter&) = delete;

    const std::string& Path() const { return m_name; }

    // What the printer received, once the link has closed its end (or the printer hung up).
    const Bytes& Finish() {
        if (m_thread.joinable()) {
            if (!m_connected) { // release a server still waiting for its client
                ::CloseHandle(::CreateFileA(m_name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            0, nullptr));
            }
            m_thread.join();
        }
        return m_received;
    }

private:
    void Serve() {
        if (!::ConnectNamedPipe(m_pipe, nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED) {
            return;
        }
        m_connected = true;
        std::uint8_t last = 0;
        for (;;) {
            std::uint8_t buffer[256];
            DWORD got = 0;
            if (!::ReadFile(m_pipe, buffer, sizeof buffer, &got, nullptr) || got == 0) {
                return; // the link closed its end
            }
            bool enter = false;
            for (DWORD i = 0; i < got; ++i) {
                enter = enter || (last == 0x1B && buffer[i] == 0x06);
                last = buffer[i];
                m_received.push_back(buffer[i]);
            }
            if (enter && m_behaviour == Behaviour::HangsUp) {
                ::DisconnectNamedPipe(m_pipe);
                return;
            }
            if (enter && m_behaviour == Behaviour::Answers) {
                DWORD sent = 0;
                ::WriteFile(m_pipe, "OK", 2, &sent, nullptr);
            }
        }
    }

    const Behaviour m_behaviour;
    std::string m_name;
    HANDLE m_pipe = INVALID_HANDLE_VALUE;
    std::atomic<bool> m_connected{false};
    Bytes m_received;
    std::thread m_thread;
};

TEST(UsbLinkWin32, ConversationOverTheDevicePath) {
    const struct {
        Behaviour behaviour;
        ApplyOutcome outcome;
        Bytes received;
    } cases[] = {
        {Behaviour::Answers, ApplyOutcome::Success, {0x1B, 0x06, 0x1B, 0xFD, 0x03, 0x1B, 0x16}},
        {Behaviour::HangsUp, ApplyOutcome::DeviceGone, {0x1B, 0x06}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.behaviour));
        PipePrinter printer(c.behaviour);
        CUSBPort port;
        ASSERT_TRUE(port.OpenDevice(printer.Path()));
        PrinterSettings settings;
        settings.density = 3;
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(ApplySettings(settings, AnsiCodePage{"CP936"}, port, true,
                                [](std::chrono::milliseconds) {}),
                  c.outcome);
        EXPECT_EQ(port.DeviceGone(), c.outcome == ApplyOutcome::DeviceGone);
        if (port.DeviceGone()) {
            // Found out at the first read; from then on nothing is tried.
            EXPECT_LT(Clock::now() - start, 1s);
            EXPECT_EQ(port.FailureCause(), OpenCause::DeviceGone);
            EXPECT_EQ(port.Write(Bytes{0x1B, 0x16}), 0u);
        }
        port.Close();
        EXPECT_EQ(printer.Finish(), c.received);
    }
}

// A read that gets nothing ends at its time-out (210 ms for two bytes) and is cancelled.
TEST(UsbLinkWin32, SilentPrinterReadEndsAtItsTimeOut) {
    PipePrinter printer(Behaviour::Silent);
    CUSBPort port;
    ASSERT_TRUE(port.OpenDevice(printer.Path()));
    ASSERT_EQ(port.Write(Bytes{0x1B, 0x06}), 2u);
    std::uint8_t reply[2];
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(reply), 0u);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, 200ms);
    EXPECT_LT(elapsed, 1s);
    EXPECT_FALSE(port.DeviceGone());
    port.Close();
}

// Wine lists no USB devices.
TEST(UsbLinkWin32, NoPrinterOrMissingDevicePathIsNotFound) {
    CUSBPort port;
    EXPECT_FALSE(UsbPrinterDevicePath().has_value());
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.FailureCause(), OpenCause::NotFound);
    EXPECT_FALSE(port.OpenDevice("\\\\.\\pipe\\tervan-usb-nobody"));
    EXPECT_EQ(port.FailureCause(), OpenCause::NotFound);
    EXPECT_FALSE(port.IsOpen());
}

} // namespace
} // namespace tervan
