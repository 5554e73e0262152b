#include "form/DialogTemplate.h"

#include "form/ControlIds.h"

#include <array>

namespace tervan {

namespace {

// A drop-down list's height is that of its closed box; a Win32 template adds the room of the
// open list itself.
constexpr int kListHeight = 12;
constexpr int kEditHeight = 12;
constexpr int kLabelHeight = 8;
constexpr int kCheckHeight = 10;
constexpr int kButtonHeight = 14;

constexpr ControlTemplate Group(std::string_view caption, DialogRect rect) {
    return {.id = Ctl::Static, .kind = ControlKind::GroupBox, .caption = caption, .rect = rect};
}

// Labels sit 2 units lower than the control of their row, so their text lines up with its text.
constexpr ControlTemplate Label(std::string_view caption, int x, int rowY, int cx) {
    return {.id = Ctl::Static,
            .kind = ControlKind::Label,
            .caption = caption,
            .rect = {x, rowY + 2, cx, kLabelHeight}};
}

constexpr ControlTemplate List(int id, const SettingList& list, int x, int y, int cx,
                               int selection = 0, bool enabled = true) {
    return {.id = id,
            .kind = ControlKind::DropDownList,
            .rect = {x, y, cx, kListHeight},
            .itemSource = ItemSource::SettingList,
            .list = &list,
            .selection = selection,
            .enabled = enabled};
}

constexpr ControlTemplate Edit(int id, int x, int y, int cx, int limit, bool enabled,
                               std::string_view text = {}) {
    return {.id = id,
            .kind = ControlKind::Edit,
            .rect = {x, y, cx, kEditHeight},
            .enabled = enabled,
            .limit = limit,
            .text = text};
}

constexpr ControlTemplate Check(int id, std::string_view caption, int x, int y, int cx) {
    return {.id = id,
            .kind = ControlKind::CheckBox,
            .caption = caption,
            .rect = {x, y, cx, kCheckHeight}};
}

constexpr ControlTemplate Button(int id, std::string_view caption, int x, int y, int cx,
                                 bool visible = true) {
    return {.id = id,
            .kind = ControlKind::PushButton,
            .caption = caption,
            .rect = {x, y, cx, kButtonHeight},
            .visible = visible};
}

// Texts longer than the printer takes are refused by the conversation, not cut off silently
// here: the identity edits hold exactly what the conversation reads.
constexpr int kIdentityLimit = 259;
constexpr int kBtNameLimit = 40;
constexpr int kBtPasswordLimit = 4;

// One "属性设置" row: label, edit (disabled until its box is checked), "修改".
constexpr int kIdentityLabelX = 22;
constexpr int kIdentityEditX = 84;
constexpr int kIdentityEditCx = 190;
constexpr int kIdentityCheckX = 280;

const std::array kMainControls{
    // The divider under the port group belongs to no group.
    ControlTemplate{Ctl::Divider, ControlKind::TrackBar, {}, {14, 82, 313, 6}},

    Group("当前端口配置", {14, 11, 166, 69}),
    Label("端口:", 20, 23, 30),
    ControlTemplate{.id = Ctl::PortList,
                    .kind = ControlKind::DropDownList,
                    .rect = {52, 23, 84, kListHeight},
                    .itemSource = ItemSource::Ports,
                    .selection = 1},
    Label("波特率:", 20, 41, 30),
    List(Ctl::BaudRate, Lists::kBaudRate, 52, 41, 40, 3),
    Label("校验:", 20, 59, 30),
    List(Ctl::Parity, Lists::kParity, 52, 59, 40, 0),
    Label("数据位:", 98, 41, 30),
    List(Ctl::DataBits, Lists::kDataBits, 130, 41, 44, 1),
    Label("流控:", 98, 59, 30),
    List(Ctl::FlowControl, Lists::kFlowControl, 130, 59, 44, 1),
    Button(Ctl::OpenClose, "打开", 140, 22, 34, false),
    Button(Ctl::Set, "设置", 140, 22, 34),

    Group("属性设置", {14, 88, 310, 79}),
    Label("制造商名称:", kIdentityLabelX, 99, 60),
    Edit(Ctl::Manufacturer, kIdentityEditX, 99, kIdentityEditCx, kIdentityLimit, false),
    Check(Ctl::ManufacturerCheck, "修改", kIdentityCheckX, 100, 36),
    Label("打印机型号:", kIdentityLabelX, 112, 60),
    Edit(Ctl::Model, kIdentityEditX, 112, kIdentityEditCx, kIdentityLimit, false),
    Check(Ctl::ModelCheck, "修改", kIdentityCheckX, 113, 36),
    Label("打印机序列号:", kIdentityLabelX, 125, 60),
    Edit(Ctl::SerialNumber, kIdentityEditX, 125, kIdentityEditCx, kIdentityLimit, false),
    Check(Ctl::SerialNumberCheck, "修改", kIdentityCheckX, 126, 36),
    Label("蓝牙名称:", kIdentityLabelX, 138, 60),
    Edit(Ctl::BtName, kIdentityEditX, 138, kIdentityEditCx, kBtNameLimit, false),
    Check(Ctl::BtNameCheck, "修改", kIdentityCheckX, 139, 36),
    Label("蓝牙密码:", kIdentityLabelX, 151, 60),
    Edit(Ctl::BtPassword, kIdentityEditX, 151, kIdentityEditCx, kBtPasswordLimit, false),
    Check(Ctl::BtPasswordCheck, "修改", kIdentityCheckX, 152, 36),

    Group("打印机串口", {13, 169, 84, 95}),
    Check(Ctl::SerialFormatCheck, "修改", 67, 176, 28),
    Label("波特率:", 18, 190, 28),
    List(Ctl::PrinterBaudRate, Lists::kBaudRate, 47, 190, 46, 3, false),
    Label("校验:", 18, 208, 28),
    List(Ctl::PrinterParity, Lists::kParity, 47, 208, 46, 0, false),
    Label("数据位:", 18, 226, 28),
    List(Ctl::PrinterDataBits, Lists::kDataBits, 47, 226, 46, 1, false),
    Label("流控:", 18, 244, 28),
    List(Ctl::PrinterFlowControl, Lists::kFlowControl, 47, 244, 46, 1, false),

    Group("字符设置", {106, 169, 215, 56}),
    Label("字体设置:", 112, 179, 40),
    List(Ctl::Font, Lists::kFontThermal, 154, 179, 98),
    Check(Ctl::DotMatrix, "针式打印机", 257, 181, 60),
    Label("语言设置:", 112, 193, 40),
    List(Ctl::Language, Lists::kLanguage, 154, 193, 161),
    Label("代码页:", 112, 207, 40),
    List(Ctl::CodePage, Lists::kCodePage, 154, 207, 161),

    Group("黑标", {106, 225, 230, 39}),
    Label("检测:", 112, 234, 22),
    List(Ctl::MarkDetect, Lists::kMarkDetect, 136, 234, 36),
    Label("灵敏度:", 178, 234, 30),
    List(Ctl::MarkSensitivity, Lists::kMarkSensitivity, 210, 234, 36),
    Label("定位偏移:", 112, 248, 38),
    List(Ctl::MarkStart, Lists::kMarkStart, 152, 248, 45),
    Edit(Ctl::MarkStartOffset, 199, 248, 24, 0, true, "0"),
    List(Ctl::MarkTear, Lists::kMarkTear, 227, 248, 45),
    Edit(Ctl::MarkTearOffset, 274, 248, 24, 0, true, "0"),
    ControlTemplate{Ctl::Static, ControlKind::Label, "(正-进纸)\r\n(负-退纸)", {302, 234, 32, 24}},

    Group("其它设置", {13, 265, 321, 69}),
    Label("速度:", 19, 277, 36),
    List(Ctl::Speed, Lists::kSpeed, 56, 277, 48),
    Label("浓度:", 110, 277, 30),
    List(Ctl::Density, Lists::kDensity, 141, 277, 66),
    Label("0D回车:", 214, 277, 40),
    List(Ctl::CrMode, Lists::kCrMode, 256, 277, 72),
    Label("方向:", 19, 295, 36),
    List(Ctl::Direction, Lists::kDirection, 56, 295, 48),
    Label("宽度:", 110, 295, 30),
    List(Ctl::PaperWidth, Lists::kPaperWidth, 141, 295, 66),
    Label("切刀：", 214, 295, 40),
    List(Ctl::Cutter, Lists::kCutter, 256, 295, 72),
    Label("蜂鸣器:", 19, 313, 36),
    List(Ctl::BuzzerError, Lists::kBuzzerError, 56, 313, 84),
    List(Ctl::BuzzerCut, Lists::kBuzzerCut, 144, 313, 84),
    Label("USB:", 232, 313, 22),
    List(Ctl::UsbMode, Lists::kUsbMode, 256, 313, 72),

    Group("下载位图", {14, 335, 319, 31}),
    Label("位图索引:", 20, 347, 40),
    List(Ctl::BitmapSlot, Lists::kBitmapSlot, 62, 347, 36),
    Button(Ctl::DownloadBitmap, "下载位图", 206, 346, 58),
    Button(Ctl::PrintBitmap, "打印位图", 270, 346, 58),
};

const std::array kAboutControls{
    ControlTemplate{Ctl::Static, ControlKind::Icon, {}, {14, 14, 21, 20}},
    ControlTemplate{
        Ctl::Static, ControlKind::Label, "Tervan V2.0 版权所有 (C) 2026", {42, 14, 120, 8}},
    ControlTemplate{.id = Ctl::IdOk,
                    .kind = ControlKind::PushButton,
                    .caption = "确定",
                    .rect = {113, 41, 50, 14},
                    .defaultButton = true},
};

const DialogTemplate kMainDialog{
    Ctl::MainDialog,
    "Tervan V2.0",
    351,
    378,
    "MS Shell Dlg",
    9,
    {.systemMenu = true, .sizingBorder = true, .appWindow = true, .clientEdge = true},
    kMainControls,
};

const DialogTemplate kAboutDialog{
    Ctl::AboutDialog,     "关于 Tervan",  170, 62, "MS Shell Dlg", 9,
    {.systemMenu = true}, kAboutControls,
};

} // namespace

const DialogTemplate& MainDialogTemplate() {
    return kMainDialog;
}

const DialogTemplate& AboutDialogTemplate() {
    return kAboutDialog;
}

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id) {
    for (const ControlTemplate& control : dialog.controls) {
        if (control.id == id && id != Ctl::Static) {
            return &control;
        }
    }
    return nullptr;
}

const ControlTemplate* GroupOf(const DialogTemplate& dialog, std::size_t index) {
    if (dialog.controls[index].kind == ControlKind::GroupBox) {
        return nullptr;
    }
    for (std::size_t i = index; i-- > 0;) {
        if (dialog.controls[i].kind == ControlKind::GroupBox) {
            return &dialog.controls[i];
        }
    }
    return nullptr;
}

} // namespace tervan
