#include "link/PortList.h"
#include "link/PortListLinux.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace tervan {
namespace {

using Ports = std::vector<std::string>;

TEST(LinkSerialPorts, UsbFirstThenGivenThenNaturalOrder) {
    const struct {
        Ports found;
        std::string given;
        Ports want;
    } cases[] = {
        {{}, "", {"USB"}},
        {{"/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyS2", "/dev/ttyACM0"},
         "",
         {"USB", "/dev/ttyACM0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"}},
        {{"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0"},
         "/dev/ttyUSB1",
         {"USB", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyUSB0"}},
        {{"/dev/ttyS0"}, "/dev/pts/7", {"USB", "/dev/pts/7", "/dev/ttyS0"}}, // given, not present
        {{"/dev/ttyS0"}, "usb", {"USB", "/dev/ttyS0"}},
        {{"/dev/ttyS1", "/dev/ttyS1"}, "", {"USB", "/dev/ttyS1"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArrangePorts(c.found, c.given), c.want) << c.given;
    }
}

// A small tty class folder as sysfs lays it out: device links for real ports, a type file for
// each UART slot.
TEST(LinkSerialPorts, SysfsKeepsDeviceBackedPortsWithAUart) {
    const test::TempDir root;
    std::filesystem::create_directories(root.Path() / "devices");
    const auto addTty = [&](const std::string& name, bool hasDevice, const char* type = nullptr) {
        const std::filesystem::path dir = root.Path() / "class" / name;
        std::filesystem::create_directories(dir);
        if (hasDevice) {
            std::filesystem::create_directory_symlink(root.Path() / "devices", dir / "device");
        }
        if (type != nullptr) {
            std::ofstream(dir / "type") << type << "\n";
        }
    };
    addTty("tty0", false);
    addTty("console", false);
    addTty("ttyS0", true, "4");
    addTty("ttyS1", true, "0");
    addTty("ttyS10", true, "4");
    addTty("ttyS2", true, "4");
    addTty("ttyUSB0", true);
    addTty("ttyACM0", true);

    EXPECT_EQ(
        ArrangePorts(SysfsSerialPorts(root.Path() / "class"), "/dev/ttyUSB0"),
        (Ports{"USB", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}));
}

} // namespace
} // namespace tervan
