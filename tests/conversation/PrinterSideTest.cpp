#include "bitmap/BitmapTransfer.h"
#include "bitmap/BmpBytes.h"
#include "bitmap/Picture.h"
#include "link/SerialPort.h"
#include "protocol/ApplySettings.h"
#include "sim/CommandDecoder.h"
#include "sim/VirtualPrinter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// The virtual printer's side of the conversations: what it decodes and what it prints. The demo
// and the command line's tests show these lines and pictures, so they must be right.
namespace tervan {
namespace {

using Lines = std::vector<std::string>;
using std::chrono::milliseconds;

struct DecodeCase {
    Bytes written;
    Lines lines;
};

// The stream may be cut anywhere: fed one byte at a time, the commands come out the same. Only a
// run of stray bytes shows up piecemeal; it is joined up again here.
TEST(PrinterSide, DecodesByteByByte) {
    const DecodeCase cases[] = {
        {{0x1B, 0x06, 0x1B, 0x16}, {"EnterSetup", "LeaveSetup"}},
        {{0x1B, 0x74, 0x2F, 0x1B, 0x23, 0x07, 0x1B, 0x32, 0x10, 0x1B, 0x29, 0x03},
         {"SetCodePage n=47", "SetSerialFormat n=0x07", "SetCutter n=16", "SetBuzzer n=0x03"}},
        {{0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x64, 0x00}, {"SetMarkOffset a=1 m=1 n=100"}},
        {{0x1B, 0x24, 0xD6, 0xD0, 0x22, 0x5C, 0x0A, 0x00},
         {"SetManufacturer \"\\xD6\\xD0\\\"\\\\\\x0A\""}},
        // Rows that look like commands are counted, not decoded.
        {{0x1B, 0xFF, 0x00, 0x01, 0x00, 0x02, 0x00, 0x1B, 0x06, 0x1B, 0x16},
         {"StoreBitmap slot=0 x=1 y=2", "LeaveSetup"}},
        {{0x41, 0x1B, 0x06}, {"? 41", "EnterSetup"}},
        {{0x1D, 0x28, 0x46, 0x02, 0x00, 0x1B, 0x06}, {"? 1D 28 46 02 00 1B 06"}},
        {{0x1C, 0x51, 0x1C, 0x50, 0x03}, {"? 1C 51", "PrintStoredBitmap slot=3"}},
    };
    for (const DecodeCase& c : cases) {
        sim::CommandDecoder decoder;
        Lines lines;
        for (const std::uint8_t byte : c.written) {
            for (const sim::DecodedCommand& command : decoder.Feed(std::span(&byte, 1))) {
                if (command.line.starts_with("? ") && !lines.empty() &&
                    lines.back().starts_with("? ")) {
                    lines.back() += command.line.substr(1);
                } else {
                    lines.push_back(command.line);
                }
            }
        }
        EXPECT_EQ(lines, c.lines);
    }
}

// The picture in a file as rows of '#' (dark) and '.' (light); empty when unreadable.
Lines ReadPicture(const std::filesystem::path& file) {
    const GreyPicture picture = LoadPictureFile(file).picture;
    const auto width = static_cast<std::size_t>(picture.width);
    Lines rows(static_cast<std::size_t>(picture.height), std::string(width, '.'));
    for (std::size_t i = 0; i < picture.levels.size(); ++i) {
        if (picture.levels[i] < 0x80) {
            rows[i / width][i % width] = '#';
        }
    }
    return rows;
}

// A logo through the serial binding and a raw line to the printer, then printed as a PNG, top
// line first. Its rows hold the bytes a cooked line would eat or turn (CR, LF, XON, XOFF, ^C, DEL).
TEST(PrinterSide, StoresAndPrintsALogo) {
    test::TempDir out;
    sim::VirtualPrinter printer({.outDir = out.Path()});
    ASSERT_TRUE(printer.Start());
    CSerialPort port;
    ASSERT_TRUE(port.Open(printer.SlavePath()));
    ASSERT_EQ(port.Configure(9600, 'N', 8), ConfigureResult::Ok);

    // File rows, bottom line first; complemented on the way (black is 0 in the file), they carry
    // 0D 0A 11 13 and 7F 10 03 08.
    const Bytes fileRows{0xF2, 0xF5, 0xEE, 0xEC, 0x80, 0xEF, 0xFC, 0xF7};
    const LoadResult logo = LoadBitmapBytes(test::MakeBmp({.width = 32, .height = 2}, fileRows));
    EXPECT_EQ(DownloadBitmap(port, 4, logo, [](milliseconds) {}).outcome, DownloadOutcome::Stored);
    ASSERT_TRUE(PrintBitmap(port, 4));
    ASSERT_TRUE(printer.WaitForBytes(2 + 7 + 8 + 4 + 3, milliseconds(2000)));
    EXPECT_EQ(printer.Decoded(), (Lines{"EnterSetup", "StoreBitmap slot=4 x=4 y=2", "LeaveSetup",
                                        "LeaveSetup", "PrintStoredBitmap slot=4"}));
    EXPECT_EQ(ReadPicture(out.Path() / "slot-4.png"),
              (Lines{".#######...#..........##....#...", "....##.#....#.#....#...#...#..##"}));
}

} // namespace
} // namespace tervan
