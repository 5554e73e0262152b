#include "form/ProfileForm.h"
#include "form/ControlIds.h"
#include "form/FormRules.h"
#include "form/Gather.h"
#include "protocol/ApplySettings.h"
#include "support/RecordingLink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

FormState Form() {
    return InitialFormState({"USB", "/dev/ttyUSB0", "/dev/ttyS0"}, AnsiCodePage{"CP936"});
}

std::string Sent(const FormState& form) {
    test::RecordingLink link;
    link.replies = {{0x4F, 0x4B}};
    ApplySettings(GatherSettings(form), form.codePage, link, false, link.Pauser());
    return link.Trace(true);
}

// Every setting but the speed, as a user fills the form.
FormState Filled() {
    const int checks[] = {Ctl::DotMatrix,      Ctl::SerialFormatCheck, Ctl::ManufacturerCheck,
                          Ctl::ModelCheck,     Ctl::SerialNumberCheck, Ctl::BtNameCheck,
                          Ctl::BtPasswordCheck};
    const std::pair<int, int> selections[] = {
        {Ctl::Font, 3},          {Ctl::Language, 2},        {Ctl::CodePage, 48},
        {Ctl::Cutter, 2},        {Ctl::MarkDetect, 2},      {Ctl::MarkStart, 1},
        {Ctl::MarkTear, 1},      {Ctl::Density, 13},        {Ctl::CrMode, 2},
        {Ctl::Direction, 2},     {Ctl::PaperWidth, 3},      {Ctl::UsbMode, 2},
        {Ctl::BuzzerCut, 2},     {Ctl::PortList, 2},        {Ctl::BaudRate, 7},
        {Ctl::Parity, 2},        {Ctl::MarkSensitivity, 3}, {Ctl::PrinterBaudRate, 7},
        {Ctl::PrinterParity, 2}, {Ctl::PrinterDataBits, 0}};
    const std::pair<int, const char16_t*> edits[] = {
        {Ctl::Manufacturer, u"ABC"},  {Ctl::Model, u"打印"},      {Ctl::SerialNumber, u"7"},
        {Ctl::BtName, u"K"},          {Ctl::BtPassword, u"0420"}, {Ctl::MarkStartOffset, u"-100"},
        {Ctl::MarkTearOffset, u"300"}};
    FormState form = Form();
    for (const int check : checks) {
        OnClicked(form, check, true);
    }
    for (const auto& [list, row] : selections) {
        OnSelChange(form, list, row);
    }
    for (const auto& [edit, text] : edits) {
        OnEditChange(form, edit, text);
    }
    return form;
}

TEST(ProfileForm, RoundTripGivesTheSameBytes) {
    const FormState filled = Filled();
    const auto profile = FormProfile(filled, Language::English);
    ASSERT_TRUE(std::holds_alternative<Profile>(profile));
    const ProfileRead read =
        ParseProfile(ProfileText(std::get<Profile>(profile)), "f.toml", filled.codePage);
    ASSERT_TRUE(read.profile) << read.problem;

    // Loaded over a form that had other settings: those go back to 不改变.
    FormState loaded = Form();
    OnSelChange(loaded, Ctl::Speed, 2);
    OnClicked(loaded, Ctl::BtPasswordCheck, true);
    const FormChanges changes = ApplyProfile(loaded, *read.profile, Language::English);
    EXPECT_FALSE(changes.message);

    EXPECT_EQ(Sent(loaded), Sent(filled));
    EXPECT_EQ(Sent(loaded), "1B 06|1B 74 2F|1B 21 02|1B 22 01|1B 32 10|1B 23 0F|1B 24|41 42 43|00|"
                            "1B 25|B4 F2 D3 A1|00|1B 26|37|00|1B 11|4B|00|1B 10|30 34 32 30|00|"
                            "1B 2B 01|1D 28 46 04 00 01 01 64 00|1D 28 46 04 00 02 00 2C 01|"
                            "1B 28 02|1B FD 0C|1B 2E 01|1B 63 01|1B 2D 02|1B 30 01|1B 29 02|1B 16");
    // As the user would have set it, and the window told so.
    EXPECT_TRUE(loaded.At(Ctl::DotMatrix).checked);
    EXPECT_EQ(loaded.At(Ctl::Font).items.at(3), "西文下5*7点阵 中文不受影响");
    EXPECT_TRUE(loaded.At(Ctl::Model).enabled);
    EXPECT_TRUE(loaded.At(Ctl::PrinterFlowControl).enabled);
    EXPECT_EQ(loaded.At(Ctl::Speed).selection, 0);
    EXPECT_EQ(SelectedPort(loaded), "/dev/ttyS0");
    EXPECT_EQ(GatherLineSettings(loaded).baudRate, 115200u);
    int told = 0;
    for (const ControlChange& change : changes.controls) {
        told += change.id == Ctl::Font && change.items && change.selection == 3;
        told += change.id == Ctl::DotMatrix && change.checked == true;
        told += change.id == Ctl::Speed && change.selection == 0;
        told += change.id == Ctl::BtPassword && change.text == u"0420";
    }
    EXPECT_EQ(told, 4);
}

TEST(ProfileForm, FilesFromTheMenuEntries) {
    test::TempDir dir;
    const auto path = dir.Path() / "shop.toml";
    ASSERT_FALSE(SaveFormProfile(Filled(), path, Language::English));
    FormState form = Form();
    EXPECT_TRUE(LoadFormProfile(form, path, Language::English).controls.size() > 10);
    EXPECT_EQ(Sent(form), Sent(Filled()));

    // A bad profile changes nothing and says why.
    dir.Write("bad.toml", Bytes{'c', 'u', 't', 't', 'e', 'r', '=', '3', '\n'});
    const FormChanges refused = LoadFormProfile(form, dir.Path() / "bad.toml", Language::English);
    ASSERT_TRUE(refused.message);
    EXPECT_NE(refused.message->text.find("bad.toml:1: cutter: '3' is not allowed"),
              std::string::npos);
    EXPECT_TRUE(refused.controls.empty());
    EXPECT_EQ(Sent(form), Sent(Filled()));

    // A PIN that 设置 would stop at is not saved.
    OnEditChange(form, Ctl::BtPassword, u"12");
    const auto box = SaveFormProfile(form, dir.Path() / "pin.toml", Language::English);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "蓝牙密码: '12' is not exactly 4 digits");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "pin.toml"));

    // A port this computer lacks leaves the port list as it was.
    Profile elsewhere;
    elsewhere.link.port = "/dev/ttyUSB7";
    const FormChanges changes = ApplyProfile(form, elsewhere, Language::English);
    ASSERT_TRUE(changes.message);
    EXPECT_NE(changes.message->text.find("/dev/ttyUSB7"), std::string::npos);
    EXPECT_EQ(SelectedPort(form), "/dev/ttyS0");
}

} // namespace
} // namespace tervan
