#include "link/PortList.h"
#include "link/PortListWin32.h"
#include "link/SerialDcbWin32.h"
#include "link/SerialPort.h"
#include "protocol/LinkSession.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace tervan {
namespace {

TEST(SerialLineSettings, DcbFields) {
    struct Case {
        char parity;
        std::uint8_t byteSize;
        BYTE expectedParity;
    } cases[] = {
        {'N', 8, 0},
        {'O', 7, 1},
        {'E', 8, 2},
        {'X', 8, 4}, // any other letter keeps what the port had (MARKPARITY here)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parity);
        // The state a previous program left: every handshake on, two stop bits, mark parity.
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        dcb.Parity = 4;
        dcb.StopBits = 2;
        dcb.fOutxCtsFlow = 1;
        dcb.fOutxDsrFlow = 1;
        dcb.fDtrControl = 2;
        dcb.fOutX = 1;
        dcb.fInX = 1;
        dcb.fRtsControl = 3;
        dcb.fParity = 1;
        dcb.XonChar = 0x11;
        ApplyLineSettings(dcb, 115200, c.parity, c.byteSize);
        EXPECT_EQ(dcb.BaudRate, 115200u);
        EXPECT_EQ(dcb.fBinary, 1u);
        EXPECT_EQ(dcb.Parity, c.expectedParity);
        EXPECT_EQ(dcb.ByteSize, c.byteSize);
        EXPECT_EQ(dcb.StopBits, 0);
        // Every handshake off.
        EXPECT_EQ(dcb.fOutxCtsFlow + dcb.fOutxDsrFlow + dcb.fDtrControl + dcb.fOutX + dcb.fInX +
                      dcb.fRtsControl,
                  0u);
        EXPECT_EQ(dcb.fParity, 1u); // untouched
        EXPECT_EQ(dcb.XonChar, 0x11);
    }
}

TEST(ComPorts, ChosenByName) {
    struct Case {
        const char* name;
        bool usb;
        const char* path;
    } cases[] = {
        {"COM5", false, R"(\\.\COM5)"}, {"com12", false, R"(\\.\COM12)"},        {"usb", true, ""},
        {"COM0", false, "COM0"},        {R"(\\.\CNCA0)", false, R"(\\.\CNCA0)"},
    };
    for (const Case& c : cases) {
        const PortChoice choice = ChoosePort(c.name);
        EXPECT_EQ(choice.usb, c.usb) << c.name;
        EXPECT_EQ(choice.path, c.path) << c.name;
    }
}

TEST(ComPorts, FormListIsUsbThenCom1ToCom19) {
    const std::vector<std::string> ports = ListPorts();
    ASSERT_EQ(ports.size(), 20u);
    EXPECT_EQ(ports.front(), "USB");
    EXPECT_EQ(ports[1], "COM1");
    EXPECT_EQ(ports.back(), "COM19");
    EXPECT_EQ(ListPorts("COM25")[1], "COM25");
    EXPECT_EQ(ListPorts("COM5").size(), 20u);
}

// What no printer is needed for: a device that is not a COM port, a port that does not exist,
// a closed link.
TEST(SerialPortWin32, OutcomesWithoutAPrinter) {
    CSerialPort port;
    EXPECT_FALSE(port.Open(R"(\\.\COM250)"));
    EXPECT_EQ(port.FailureCause(), OpenCause::NotFound);
    EXPECT_FALSE(port.IsOpen());
    const std::array<std::uint8_t, 2> bytes{0x1B, 0x06};
    EXPECT_EQ(port.Write(bytes), 0u);
    ASSERT_TRUE(port.Open("NUL"));
    EXPECT_EQ(port.Configure(9600, 'N', 8), ConfigureResult::StateUnreadable);
    EXPECT_EQ(port.FailureCause(), OpenCause::StateUnreadable);
    port.Close();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

} // namespace
} // namespace tervan
