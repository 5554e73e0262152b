#include "link/UsbDevicePath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tervan {
namespace {

// Device paths as Windows lists them for the USB device interface class.
const std::u16string kPrinterPath =
    uR"(\\?\usb#vid_0483&pid_5720#0123456789ab#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
const std::u16string kSecondPrinterPath =
    uR"(\\?\usb#vid_0483&pid_5720#ffffffffffff#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
const std::u16string kUpperCasePath =
    uR"(\\?\USB#VID_0483&PID_5720#0123456789AB#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
const std::u16string kOtherVendorPath =
    uR"(\\?\usb#vid_046d&pid_c52b#5&2a1b3c4d&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";

TEST(UsbDevicePath, RecognisesThePrinterByItsLowerCaseMarker) {
    struct Case {
        const char* name;
        std::u16string path;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"lower case", kPrinterPath, true},
        {"upper case", kUpperCasePath, false},
        {"upper-case product only", uR"(\\?\usb#vid_0483&PID_5720#1#{x})", false},
        {"another vendor", kOtherVendorPath, false},
        {"same vendor, another product", uR"(\\?\usb#vid_0483&pid_5740#1#{x})", false},
        {"one interface of a composite device", uR"(\\?\usb#vid_0483&pid_5720&mi_00#7&1#{x})",
         true},
        {"marker cut short", uR"(\\?\usb#vid_0483&pid_572)", false},
        {"empty", u"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsPrinterDevicePath(c.path), c.matches);
    }
}

TEST(UsbDevicePath, OpenPathReplacesTheFirstFourCharacters) {
    const std::optional<std::u16string> open = OpenPathFor(kPrinterPath);
    ASSERT_TRUE(open.has_value());
    EXPECT_TRUE(
        *open ==
        uR"(\\.\usb#vid_0483&pid_5720#0123456789ab#{a5dcbf10-6530-11d2-901f-00c04fb951ed})");

    EXPECT_TRUE(OpenPathFor(uR"(\??\x)") == std::u16string(uR"(\\.\x)"));
    EXPECT_TRUE(OpenPathFor(uR"(\\?\)") == std::u16string(uR"(\\.\)"));
    // Too short to hold the system's prefix: there is nothing to open.
    EXPECT_FALSE(OpenPathFor(u"ab").has_value());
}

TEST(UsbDevicePath, FirstPrinterInEnumerationOrderWins) {
    struct Case {
        const char* name;
        std::vector<std::u16string> paths;
        std::optional<std::u16string> open;
    };
    const std::u16string printerOpen =
        uR"(\\.\usb#vid_0483&pid_5720#0123456789ab#{a5dcbf10-6530-11d2-901f-00c04fb951ed})";
    const std::vector<Case> cases = {
        {"another vendor first", {kOtherVendorPath, kPrinterPath}, printerOpen},
        {"two printers", {kPrinterPath, kSecondPrinterPath}, printerOpen},
        {"upper case skipped", {kUpperCasePath, kPrinterPath}, printerOpen},
        {"no devices", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(FindPrinterOpenPath(c.paths) == c.open);
    }
}

} // namespace
} // namespace tervan
