#include "form/Gather.h"
#include "form/ControlIds.h"
#include "form/FormRules.h"

#include <gtest/gtest.h>

#include <functional>

namespace tervan {
namespace {

namespace cmd = SetupCommandTable;

FormState Form() {
    return InitialFormState({"USB", "/dev/ttyUSB0"}, AnsiCodePage{"CP936"});
}

TEST(Gather, ListsBecomeTheDocumentedBytes) {
    struct Case {
        const char* name;
        int list, selection;
        std::function<std::optional<Bytes>(const PrinterSettings&)> sent;
        std::optional<Bytes> expected;
    };
    auto one = [](auto member, Bytes (*encode)(std::uint8_t)) {
        return [member, encode](const PrinterSettings& s) -> std::optional<Bytes> {
            const auto& value = s.*member;
            return value ? std::optional(encode(*value)) : std::nullopt;
        };
    };
    const Case cases[] = {
        {"code page reserve", Ctl::CodePage, 12, one(&PrinterSettings::codePage, cmd::SetCodePage),
         Bytes{0x1B, 0x74, 0x0B}},
        {"code page Cp874", Ctl::CodePage, 48, one(&PrinterSettings::codePage, cmd::SetCodePage),
         Bytes{0x1B, 0x74, 0x2F}},
        {"density row 0", Ctl::Density, 1, one(&PrinterSettings::density, cmd::SetDensity),
         Bytes{0x1B, 0xFD, 0x00}},
        {"density no change", Ctl::Density, 0, one(&PrinterSettings::density, cmd::SetDensity),
         std::nullopt},
        {"cutter on", Ctl::Cutter, 2, one(&PrinterSettings::cutter, cmd::SetCutter),
         Bytes{0x1B, 0x32, 0x10}},
        {"cutter off", Ctl::Cutter, 1, one(&PrinterSettings::cutter, cmd::SetCutter),
         Bytes{0x1B, 0x32, 0x00}},
        {"font index 1", Ctl::Font, 1, one(&PrinterSettings::font, cmd::SetFont),
         Bytes{0x1B, 0x21, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormState form = Form();
        OnSelChange(form, c.list, c.selection);
        EXPECT_EQ(c.sent(GatherSettings(form)), c.expected);
    }
}

TEST(Gather, SerialFormatOnlyWhileChecked) {
    FormState form = Form();
    EXPECT_FALSE(GatherSettings(form).serialFormat);
    OnClicked(form, Ctl::SerialFormatCheck, true);
    EXPECT_EQ(cmd::SetSerialFormat(*GatherSettings(form).serialFormat), (Bytes{0x1B, 0x23, 0x3B}));
    OnSelChange(form, Ctl::PrinterBaudRate, 0);
    OnSelChange(form, Ctl::PrinterParity, 1);
    EXPECT_EQ(cmd::SetSerialFormat(*GatherSettings(form).serialFormat), (Bytes{0x1B, 0x23, 0x58}));
}

TEST(Gather, BuzzerFromBothLists) {
    FormState form = Form();
    EXPECT_FALSE(GatherSettings(form).buzzer);
    OnSelChange(form, Ctl::BuzzerError, 2);
    OnSelChange(form, Ctl::BuzzerCut, 2);
    const BuzzerChoice both = *GatherSettings(form).buzzer;
    EXPECT_EQ(cmd::SetBuzzer(both.onError, both.onCut), (Bytes{0x1B, 0x29, 0x03}));
    OnSelChange(form, Ctl::BuzzerCut, 1);
    const BuzzerChoice errorOnly = *GatherSettings(form).buzzer;
    EXPECT_EQ(cmd::SetBuzzer(errorOnly.onError, errorOnly.onCut), (Bytes{0x1B, 0x29, 0x01}));
}

TEST(Gather, TextsAndOffsets) {
    FormState form = Form();
    OnClicked(form, Ctl::ManufacturerCheck, true); // checked, left empty
    OnClicked(form, Ctl::ModelCheck, true);
    OnEditChange(form, Ctl::Model, std::u16string(300, u'M'));
    OnEditChange(form, Ctl::SerialNumber, u"SN1"); // typed, then its box left unchecked
    OnSelChange(form, Ctl::MarkStart, 1);
    OnEditChange(form, Ctl::MarkStartOffset, u"-100");
    OnEditChange(form, Ctl::MarkTearOffset, u"300");

    const PrinterSettings s = GatherSettings(form);
    EXPECT_TRUE(s.manufacturer.checked);
    EXPECT_EQ(s.manufacturer.text, u"");
    EXPECT_EQ(s.model.text.size(), 259u);
    EXPECT_FALSE(s.serialNumber.checked);
    EXPECT_TRUE(s.markStart.set);
    EXPECT_EQ(s.markStart.text, u"-100");
    EXPECT_FALSE(s.markTear.set);
}

TEST(Gather, LineSettingsAndPort) {
    struct Case {
        int baud, parity, dataBits;
        std::uint32_t baudRate;
        char parityLetter;
        int byteSize;
    };
    const Case cases[] = {
        {0, 0, 0, 1200, 'N', 7},  {1, 1, 1, 2400, 'O', 8},   {2, 2, 1, 4800, 'E', 8},
        {3, 0, 1, 9600, 'N', 8},  {4, 0, 1, 19200, 'N', 8},  {5, 0, 1, 38400, 'N', 8},
        {6, 0, 1, 57600, 'N', 8}, {7, 0, 1, 115200, 'N', 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baudRate);
        FormState form = Form();
        OnSelChange(form, Ctl::BaudRate, c.baud);
        OnSelChange(form, Ctl::Parity, c.parity);
        OnSelChange(form, Ctl::DataBits, c.dataBits);
        const LineSettings line = GatherLineSettings(form);
        EXPECT_EQ(line.baudRate, c.baudRate);
        EXPECT_EQ(line.parity, c.parityLetter);
        EXPECT_EQ(line.byteSize, c.byteSize);
    }
    FormState form = Form();
    EXPECT_EQ(SelectedPort(form), "/dev/ttyUSB0");
    OnSelChange(form, Ctl::BitmapSlot, 8);
    EXPECT_EQ(cmd::PrintStoredBitmap(SelectedSlot(form)), (Bytes{0x1C, 0x50, 0x08}));
}

} // namespace
} // namespace tervan
