#include "protocol/SetupCommandTable.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

namespace cmd = SetupCommandTable;

struct CommandCase {
    const char* name;
    Bytes actual;
    Bytes expected;
};

// The edge cases of the command table; the plain one-byte settings are on the wire in the
// conversation tests.
TEST(SetupCommandTable, BytesOnTheWire) {
    const CommandCase cases[] = {
        {"code page reserve (n 11)", cmd::SetCodePage(11), {0x1B, 0x74, 0x0B}},
        {"code page Cp874 (n 47)", cmd::SetCodePage(47), {0x1B, 0x74, 0x2F}},
        {"density 0", cmd::SetDensity(0), {0x1B, 0xFD, 0x00}},
        {"font n 0", cmd::SetFont(0), {0x1B, 0x21, 0x00}},
        {"cutter on", cmd::SetCutter(1), {0x1B, 0x32, 0x10}},
        {"cutter off", cmd::SetCutter(0), {0x1B, 0x32, 0x00}},
        {"serial 115200 EVEN 7 XON/XOFF", cmd::SetSerialFormat({7, 2, 0, 0}), {0x1B, 0x23, 0x07}},
        {"serial 1200 ODD 8 RTS/CTS", cmd::SetSerialFormat({0, 1, 1, 1}), {0x1B, 0x23, 0x58}},
        {"serial form defaults", cmd::SetSerialFormat({}), {0x1B, 0x23, 0x3B}},
        {"buzzer on error, on cut", cmd::SetBuzzer(true, true), {0x1B, 0x29, 0x03}},
        {"buzzer on error, not on cut", cmd::SetBuzzer(true, false), {0x1B, 0x29, 0x01}},
        {"buzzer off, off", cmd::SetBuzzer(false, false), {0x1B, 0x29, 0x00}},
        {"start -100",
         cmd::SetMarkOffset(1, -100),
         {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x64, 0x00}},
        {"tear 300",
         cmd::SetMarkOffset(2, 300),
         {0x1D, 0x28, 0x46, 0x04, 0x00, 0x02, 0x00, 0x2C, 0x01}},
        {"70000 keeps its low 16 bits",
         cmd::SetMarkOffset(1, 70000),
         {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x00, 0x70, 0x11}},
        {"most negative value",
         cmd::SetMarkOffset(1, INT32_MIN),
         {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x00, 0x00}},
        {"store slot 8, 48 x 100",
         cmd::StoreBitmap(8, 48, 100),
         {0x1B, 0xFF, 0x08, 0x30, 0x00, 0x64, 0x00}},
        {"print slot 8", cmd::PrintStoredBitmap(8), {0x1C, 0x50, 0x08}},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
}

} // namespace
} // namespace tervan
