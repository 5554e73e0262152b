#include "protocol/SetupCommandTable.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

namespace cmd = SetupCommandTable;

// The edges of the command table; the plain settings are on the wire in the conversation tests.
TEST(SetupCommandTable, BytesOnTheWire) {
    const std::pair<Bytes, Bytes> cases[] = {
        {cmd::SetBuzzer(false, false), {0x1B, 0x29, 0x00}},
        // Offsets keep their low 16 bits, the sign apart.
        {cmd::SetMarkOffset(1, 70000), {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x00, 0x70, 0x11}},
        {cmd::SetMarkOffset(1, INT32_MIN), {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x00, 0x00}},
    };
    for (const auto& [actual, expected] : cases) {
        EXPECT_EQ(actual, expected);
    }
}

} // namespace
} // namespace tervan
