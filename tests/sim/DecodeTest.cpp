#include "PeerPort.h"
#include "sim/CommandDecoder.h"
#include "sim/VirtualPrinter.h"

#include <gtest/gtest.h>

namespace tervan::sim::test {
namespace {

using Lines = std::vector<std::string>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Row bytes that would read as commands if the printer lost count of them.
Bytes Rows(std::size_t count) {
    Bytes rows(count);
    for (std::size_t i = 0; i < count; ++i) {
        rows[i] = i % 2 == 0 ? 0x1B : 0x06;
    }
    return rows;
}

struct DecodeCase {
    const char* name;
    Bytes written;
    Lines lines;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<DecodeCase> kCases{
    {"EnterSetup", {0x1B, 0x06}, {"EnterSetup"}},
    {"LeaveSetup", {0x1B, 0x16}, {"LeaveSetup"}},
    {"CodePageCp874", {0x1B, 0x74, 0x2F}, {"SetCodePage n=47"}},
    {"SerialFormat115200EvenSevenXon", {0x1B, 0x23, 0x07}, {"SetSerialFormat n=0x07"}},
    {"CutterOn", {0x1B, 0x32, 0x10}, {"SetCutter n=16"}},
    {"BuzzerBoth", {0x1B, 0x29, 0x03}, {"SetBuzzer n=0x03"}},
    {"OtherSettings",
     {0x1B, 0x22, 0x04, 0x1B, 0x28, 0x02, 0x1B, 0x2B, 0x01, 0x1B, 0x2C, 0x03,
      0x1B, 0x2D, 0x01, 0x1B, 0x2E, 0x00, 0x1B, 0x63, 0x01, 0x1B, 0x30, 0x01},
     {"SetLanguage n=4", "SetMarkSensitivity n=2", "SetMarkDetect n=1", "SetSpeed n=3",
      "SetPaperWidth n=1", "SetCrMode n=0", "SetDirection n=1", "SetUsbMode n=1"}},
    {"StartOffsetBack100",
     {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x64, 0x00},
     {"SetMarkOffset a=1 m=1 n=100"}},
    {"OffsetLow16Bits",
     {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x00, 0x70, 0x11},
     {"SetMarkOffset a=1 m=0 n=4464"}},
    {"Manufacturer", {0x1B, 0x24, 0x41, 0x42, 0x43, 0x00}, {"SetManufacturer \"ABC\""}},
    {"TextNotAscii",
     {0x1B, 0x24, 0xD6, 0xD0, 0x22, 0x5C, 0x0A, 0x00},
     {"SetManufacturer \"\\xD6\\xD0\\\"\\\\\\x0A\""}},
    {"PrintSlot8", {0x1C, 0x50, 0x08}, {"PrintStoredBitmap slot=8"}},
    {"StoreSlot8",
     Concat({{0x1B, 0xFF, 0x08, 0x30, 0x00, 0x64, 0x00}, Rows(4800)}),
     {"StoreBitmap slot=8 x=48 y=100"}},
    {"StoreThenLeave",
     Concat({{0x1B, 0xFF, 0x00, 0x01, 0x00, 0x02, 0x00, 0x1B, 0x06}, {0x1B, 0x16}}),
     {"StoreBitmap slot=0 x=1 y=2", "LeaveSetup"}},
    {"Unknown", {0x41, 0x42}, {"? 41 42"}},
    {"StrayThenCommand", {0x41, 0x1B, 0x06}, {"? 41", "EnterSetup"}},
    {"GsFWithOtherLength", {0x1D, 0x28, 0x46, 0x02, 0x00, 0x1B, 0x06}, {"? 1D 28 46 02 00 1B 06"}},
    {"OtherFsCommand", {0x1C, 0x51, 0x1C, 0x50, 0x03}, {"? 1C 51", "PrintStoredBitmap slot=3"}},
};

class SimDecoding : public ::testing::TestWithParam<DecodeCase> {};

// The stream may be cut anywhere: fed one byte at a time, the commands come out the same.
// Only a run of stray bytes shows up piecemeal, as its bytes come; it is joined up again here.
TEST_P(SimDecoding, ByteByByte) {
    CommandDecoder decoder;
    Lines lines;
    for (const std::uint8_t byte : GetParam().written) {
        for (const DecodedCommand& command : decoder.Feed(std::span(&byte, 1))) {
            if (command.line.starts_with("? ") && !lines.empty() &&
                lines.back().starts_with("? ")) {
                lines.back() += command.line.substr(1);
            } else {
                lines.push_back(command.line);
            }
        }
    }
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Commands, SimDecoding, ::testing::ValuesIn(kCases),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(SimPrinter, TextCommandInThreeWrites) {
    VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    PeerPort peer(printer.SlavePath());
    const std::vector<Bytes> writes{{0x1B, 0x24}, {0x41, 0x42, 0x43}, {0x00}};
    std::size_t sent = 0;
    for (const Bytes& write : writes) {
        EXPECT_TRUE(printer.Decoded().empty());
        ASSERT_TRUE(peer.Write(write));
        sent += write.size();
        ASSERT_TRUE(printer.WaitForBytes(sent, milliseconds{2000}));
    }
    EXPECT_EQ(printer.Decoded(), Lines{"SetManufacturer \"ABC\""});
}

} // namespace
} // namespace tervan::sim::test
