#include "link/UsbDevicePath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tervan {
namespace {

// Device paths as Windows lists them for the USB device interface class.
const std::u16string kPrinterPath =
    uR"(\\?\usb#vid_0483&pid_5720#0123456789ab#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
const std::u16string kUpperCasePath =
    uR"(\\?\USB#VID_0483&PID_5720#0123456789AB#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
const std::u16string kOtherVendorPath =
    uR"(\\?\usb#vid_046d&pid_c52b#5&2a1b3c4d&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";

TEST(UsbDevicePath, RecognisesThePrinterByItsLowerCaseMarker) {
    const std::pair<std::u16string, bool> cases[] = {
        {kPrinterPath, true},
        {kUpperCasePath, false},
        {uR"(\\?\usb#vid_0483&PID_5720#1#{x})", false}, // upper-case product only
        {kOtherVendorPath, false},
        {uR"(\\?\usb#vid_0483&pid_5740#1#{x})", false},        // same vendor, another product
        {uR"(\\?\usb#vid_0483&pid_5720&mi_00#7&1#{x})", true}, // an interface of a composite
        {uR"(\\?\usb#vid_0483&pid_572)", false},               // marker cut short
        {u"", false},
    };
    for (const auto& [path, matches] : cases) {
        EXPECT_EQ(IsPrinterDevicePath(path), matches) << std::string(path.begin(), path.end());
    }
}

// The first printer in enumeration order wins; its path opens with the first four characters
// replaced.
TEST(UsbDevicePath, OpenPathOfTheFirstPrinter) {
    const std::u16string printerOpen =
        uR"(\\.\usb#vid_0483&pid_5720#0123456789ab#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
    const std::u16string secondPrinter =
        uR"(\\?\usb#vid_0483&pid_5720#ffffffffffff#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
    const auto first = [](const std::vector<std::u16string>& paths) {
        return FindPrinterOpenPath(paths);
    };
    EXPECT_TRUE(first({kOtherVendorPath, kPrinterPath}) == printerOpen);
    EXPECT_TRUE(first({kPrinterPath, secondPrinter}) == printerOpen);
    EXPECT_TRUE(first({kUpperCasePath, kPrinterPath}) == printerOpen);
    EXPECT_FALSE(first({}).has_value());
    EXPECT_TRUE(OpenPathFor(uR"(\??\x)") == std::u16string(uR"(\\.\x)"));
    EXPECT_TRUE(OpenPathFor(uR"(\\?\)") == std::u16string(uR"(\\.\)"));
    // Too short to hold the system's prefix: there is nothing to open.
    EXPECT_FALSE(OpenPathFor(u"ab").has_value());
}

} // namespace
} // namespace tervan
