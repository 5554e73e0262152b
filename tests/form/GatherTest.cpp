#include "form/Gather.h"
#include "form/ControlIds.h"
#include "form/FormRules.h"
#include "protocol/ApplySettings.h"
#include "support/RecordingLink.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

FormState Form() {
    return InitialFormState({"USB", "/dev/ttyUSB0"}, AnsiCodePage{"CP936"});
}

// The lists as the printer receives them: gathered, then applied to a recording link.
TEST(Gather, ListsBecomeTheDocumentedBytes) {
    const struct {
        std::vector<int> checks;                     // clicked first
        std::vector<std::pair<int, int>> selections; // list, row
        const char* sent;
    } cases[] = {
        {{}, {{Ctl::CodePage, 48}}, "1B 06|1B 74 2F|1B 16"}, // Cp874
        {{}, {{Ctl::Density, 3}, {Ctl::Density, 0}}, "1B 06|1B 16"},
        {{}, {{Ctl::Cutter, 1}}, "1B 06|1B 32 00|1B 16"},
        {{}, {{Ctl::Font, 1}}, "1B 06|1B 21 00|1B 16"},
        {{}, {{Ctl::PrinterParity, 1}}, "1B 06|1B 16"}, // serial format unchecked
        {{Ctl::SerialFormatCheck}, {}, "1B 06|1B 23 3B|1B 16"},
        {{Ctl::SerialFormatCheck},
         {{Ctl::PrinterBaudRate, 0}, {Ctl::PrinterParity, 1}}, // 1200, odd
         "1B 06|1B 23 58|1B 16"},
        {{}, {{Ctl::BuzzerError, 2}, {Ctl::BuzzerCut, 2}}, "1B 06|1B 29 03|1B 16"},
        {{}, {{Ctl::BuzzerError, 2}, {Ctl::BuzzerCut, 1}}, "1B 06|1B 29 01|1B 16"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        FormState form = Form();
        for (const int check : c.checks) {
            OnClicked(form, check, true);
        }
        for (const auto& [list, row] : c.selections) {
            OnSelChange(form, list, row);
        }
        test::RecordingLink link;
        link.replies = {{0x4F, 0x4B}};
        EXPECT_EQ(ApplySettings(GatherSettings(form), form.codePage, link, false, link.Pauser()),
                  ApplyOutcome::Success);
        EXPECT_EQ(link.Trace(true), c.sent);
    }
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
    EXPECT_TRUE(s.manufacturer.checked && s.manufacturer.text.empty());
    EXPECT_EQ(s.model.text.size(), 259u);
    EXPECT_FALSE(s.serialNumber.checked);
    EXPECT_TRUE(s.markStart.set && s.markStart.dots == -100);
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
        {0, 0, 0, 1200, 'N', 7},
        {1, 1, 1, 2400, 'O', 8},
        {2, 2, 1, 4800, 'E', 8},
        {7, 0, 1, 115200, 'N', 8},
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
    EXPECT_EQ(SetupCommandTable::PrintStoredBitmap(SelectedSlot(form)), (Bytes{0x1C, 0x50, 0x08}));
}

} // namespace
} // namespace tervan
