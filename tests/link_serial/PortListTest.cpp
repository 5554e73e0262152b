#include "link/PortList.h"
#include "link/PortListLinux.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tervan {
namespace {

using Ports = std::vector<std::string>;

struct ArrangeCase {
    const char* name;
    Ports found;
    std::string given;
    Ports want;
};

class LinkSerialPortOrder : public testing::TestWithParam<ArrangeCase> {};

TEST_P(LinkSerialPortOrder, UsbFirstThenGivenThenNaturalOrder) {
    const ArrangeCase& c = GetParam();
    EXPECT_EQ(ArrangePorts(c.found, c.given), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    LinkSerial, LinkSerialPortOrder,
    testing::Values(
        ArrangeCase{"NothingFound", {}, "", {"USB"}},
        ArrangeCase{"Natural",
                    {"/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyS2", "/dev/ttyACM0"},
                    "",
                    {"USB", "/dev/ttyACM0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0"}},
        ArrangeCase{"GivenListedOnce",
                    {"/dev/ttyS0", "/dev/ttyUSB1", "/dev/ttyUSB0"},
                    "/dev/ttyUSB1",
                    {"USB", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyUSB0"}},
        ArrangeCase{
            "GivenNotPresent", {"/dev/ttyS0"}, "/dev/pts/7", {"USB", "/dev/pts/7", "/dev/ttyS0"}},
        ArrangeCase{"GivenUsbIsTheUsbEntry", {"/dev/ttyS0"}, "usb", {"USB", "/dev/ttyS0"}},
        ArrangeCase{"DuplicatesDropped", {"/dev/ttyS1", "/dev/ttyS1"}, "", {"USB", "/dev/ttyS1"}}),
    [](const testing::TestParamInfo<ArrangeCase>& param) { return std::string(param.param.name); });

// A small tty class folder as sysfs lays it out: device links for real ports, a type file for
// each UART slot.
class LinkSerialSysfs : public testing::Test {
protected:
    void SetUp() override {
        m_root = std::filesystem::temp_directory_path() /
                 ("tervan-sysfs-" + std::to_string(::getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(m_root / "devices");
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    void AddTty(const std::string& name, bool hasDevice, const char* type = nullptr) {
        const std::filesystem::path dir = m_root / "class" / name;
        std::filesystem::create_directories(dir);
        if (hasDevice) {
            std::filesystem::create_directory_symlink(m_root / "devices", dir / "device");
        }
        if (type != nullptr) {
            std::ofstream(dir / "type") << type << "\n";
        }
    }

    std::filesystem::path m_root;
};

TEST_F(LinkSerialSysfs, KeepsDeviceBackedPortsWithAUart) {
    AddTty("tty0", false);
    AddTty("console", false);
    AddTty("ttyS0", true, "4");
    AddTty("ttyS1", true, "0");
    AddTty("ttyS10", true, "4");
    AddTty("ttyS2", true, "4");
    AddTty("ttyUSB0", true);
    AddTty("ttyACM0", true);

    EXPECT_EQ(
        ArrangePorts(SysfsSerialPorts(m_root / "class"), "/dev/ttyUSB0"),
        (Ports{"USB", "/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}));
}

} // namespace
} // namespace tervan
