#include "form/FormRules.h"
#include "form/ControlIds.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

FormState Form(const std::vector<std::string>& ports = {"USB", "/dev/ttyS0"}) {
    return InitialFormState(ports, AnsiCodePage{"CP936"});
}

TEST(FormRules, BuzzerListsPairBothWays) {
    struct Case {
        const char* name;
        int error, cut; // selections before
        int changed, to;
        int errorAfter, cutAfter;
    };
    const Case cases[] = {
        {"error back to no change resets cut", 2, 1, Ctl::BuzzerError, 0, 0, 0},
        {"cut set while error unset sets error to 1", 0, 0, Ctl::BuzzerCut, 2, 1, 2},
        {"error set while cut unset sets cut to 1", 0, 0, Ctl::BuzzerError, 2, 2, 1},
        {"cut back to no change resets error", 1, 2, Ctl::BuzzerCut, 0, 0, 0},
        {"both set: the partner keeps its value", 1, 2, Ctl::BuzzerError, 2, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormState form = Form();
        form.At(Ctl::BuzzerError).selection = c.error;
        form.At(Ctl::BuzzerCut).selection = c.cut;
        const FormChanges changes = OnSelChange(form, c.changed, c.to);
        EXPECT_EQ(form.At(Ctl::BuzzerError).selection, c.errorAfter);
        EXPECT_EQ(form.At(Ctl::BuzzerCut).selection, c.cutAfter);
        // The partner is set once, by the rule; its own change is not fed back.
        EXPECT_LE(changes.controls.size(), 1u);
    }
}

TEST(FormRules, FontSwitchTwiceGivesTheThermalSet) {
    FormState form = Form();
    OnSelChange(form, Ctl::Font, 2);
    const FormChanges dotMatrix = OnClicked(form, Ctl::DotMatrix, true);
    EXPECT_EQ(form.At(Ctl::Font).items.size(), 4u);
    EXPECT_EQ(form.At(Ctl::Font).items[3], "西文下5*7点阵 中文不受影响");
    const FormChanges thermal = OnClicked(form, Ctl::DotMatrix, false);
    const std::vector<std::string> expected{"不改变", "字符12x24 汉字24x24", "字符9x17  汉字16x16"};
    EXPECT_EQ(form.At(Ctl::Font).items, expected);
    EXPECT_EQ(form.At(Ctl::Font).selection, 0);
    ASSERT_EQ(thermal.controls.size(), 1u);
    EXPECT_EQ(thermal.controls[0].items, expected);
    EXPECT_EQ(thermal.controls[0].selection, 0);
}

TEST(FormRules, CheckBoxesEnableTheirControlsAndKeepTheirText) {
    const std::pair<int, std::vector<int>> cases[] = {
        {Ctl::ManufacturerCheck, {Ctl::Manufacturer}},
        {Ctl::SerialNumberCheck, {Ctl::SerialNumber}},
        {Ctl::BtNameCheck, {Ctl::BtName}},
        {Ctl::SerialFormatCheck,
         {Ctl::PrinterBaudRate, Ctl::PrinterParity, Ctl::PrinterDataBits, Ctl::PrinterFlowControl}},
    };
    for (const auto& [check, targets] : cases) {
        SCOPED_TRACE(check);
        FormState form = Form();
        for (int target : targets) {
            EXPECT_FALSE(form.At(target).enabled);
            form.At(target).text = u"kept";
        }
        EXPECT_EQ(OnClicked(form, check, true).controls.size(), targets.size());
        for (int target : targets) {
            EXPECT_TRUE(form.At(target).enabled);
        }
        OnClicked(form, check, false);
        for (int target : targets) {
            EXPECT_FALSE(form.At(target).enabled);
            EXPECT_EQ(form.At(target).text, u"kept");
        }
    }
}

TEST(FormRules, BluetoothNameKeepsThirtyBytes) {
    FormState form = Form();
    const std::u16string fifteen = u"蓝牙打印机名称蓝牙打印机名称一";
    ASSERT_EQ(fifteen.size(), 15u);
    EXPECT_TRUE(OnEditChange(form, Ctl::BtName, fifteen).controls.empty());
    const FormChanges refused = OnEditChange(form, Ctl::BtName, fifteen + u"二");
    ASSERT_EQ(refused.controls.size(), 1u);
    EXPECT_EQ(refused.controls[0].text, fifteen);
    EXPECT_EQ(refused.controls[0].caret, 15); // position 30 lies past the fifteen characters
    EXPECT_EQ(form.At(Ctl::BtName).text, fifteen);
    // Thirty ASCII letters fit; an empty edit changes nothing.
    EXPECT_TRUE(OnEditChange(form, Ctl::BtName, std::u16string(30, u'a')).controls.empty());
    EXPECT_TRUE(OnEditChange(form, Ctl::BtName, u"").controls.empty());
    EXPECT_EQ(OnEditChange(form, Ctl::BtName, std::u16string(31, u'a')).controls[0].caret, 30);
}

TEST(FormRules, UsbDisablesTheLineLists) {
    const int lineLists[] = {Ctl::BaudRate, Ctl::Parity, Ctl::DataBits, Ctl::FlowControl};
    FormState form = Form();
    EXPECT_EQ(form.At(Ctl::PortList).selection, 1);
    EXPECT_FALSE(form.m_bUsb);
    EXPECT_EQ(OnSelChange(form, Ctl::PortList, 0).controls.size(), 4u);
    EXPECT_TRUE(form.m_bUsb);
    for (int id : lineLists) {
        EXPECT_FALSE(form.At(id).enabled);
    }
    OnSelChange(form, Ctl::PortList, 1);
    EXPECT_FALSE(form.m_bUsb);
    for (int id : lineLists) {
        EXPECT_TRUE(form.At(id).enabled);
    }

    // A system without serial ports, or a user asking for USB: "USB" selected, the form agrees.
    for (const FormState& usb : {Form({"USB"}), OpeningFormState("usb", AnsiCodePage{"CP936"})}) {
        EXPECT_EQ(usb.At(Ctl::PortList).selection, 0);
        EXPECT_TRUE(usb.m_bUsb);
        for (int id : lineLists) {
            EXPECT_FALSE(usb.At(id).enabled);
        }
    }
    // A path of the user's own comes first, selected.
    const FormState given = OpeningFormState("/dev/pts/42", AnsiCodePage{"CP936"});
    EXPECT_EQ(given.At(Ctl::PortList).items[1], "/dev/pts/42");
    EXPECT_EQ(given.At(Ctl::PortList).selection, 1);
    EXPECT_FALSE(given.m_bUsb);
}

} // namespace
} // namespace tervan
