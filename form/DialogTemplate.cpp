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

// One of the lists of `setting`: the `part`-th in the order its record takes them (the font's
// first list is the one the form starts with).
constexpr ControlTemplate List(int id, const Setting& setting, int x, int y, int cx,
                               std::size_t part = 0, int selection = 0, bool enabled = true) {
    ControlTemplate list = List(id, *setting.lists[part], x, y, cx, selection, enabled);
    list.setting = &setting;
    return list;
}

// A text setting's edit holds what the setting takes, and no more, and waits for its "修改" box;
// an offset's edit starts at "0".
constexpr ControlTemplate Edit(int id, const Setting& setting, int x, int y, int cx) {
    const bool text = setting.kind == SettingKind::Text;
    return {.id = id,
            .kind = ControlKind::Edit,
            .rect = {x, y, cx, kEditHeight},
            .setting = &setting,
            .enabled = !text,
            .limit = text ? static_cast<int>(setting.characters) : 0,
            .text = text ? "" : "0"};
}

constexpr ControlTemplate Check(int id, std::string_view caption, int x, int y, int cx,
                                const Setting& setting) {
    return {.id = id,
            .kind = ControlKind::CheckBox,
            .caption = caption,
            .rect = {x, y, cx, kCheckHeight},
            .setting = &setting};
}

constexpr ControlTemplate Button(int id, std::string_view caption, int x, int y, int cx,
                                 bool visible = true) {
    return {.id = id,
            .kind = ControlKind::PushButton,
            .caption = caption,
            .rect = {x, y, cx, kButtonHeight},
            .visible = visible};
}

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
    Edit(Ctl::Manufacturer, SettingNamed("manufacturer"), kIdentityEditX, 99, kIdentityEditCx),
    Check(Ctl::ManufacturerCheck, "修改", kIdentityCheckX, 100, 36, SettingNamed("manufacturer")),
    Label("打印机型号:", kIdentityLabelX, 112, 60),
    Edit(Ctl::Model, SettingNamed("model"), kIdentityEditX, 112, kIdentityEditCx),
    Check(Ctl::ModelCheck, "修改", kIdentityCheckX, 113, 36, SettingNamed("model")),
    Label("打印机序列号:", kIdentityLabelX, 125, 60),
    Edit(Ctl::SerialNumber, SettingNamed("serial-number"), kIdentityEditX, 125, kIdentityEditCx),
    Check(Ctl::SerialNumberCheck, "修改", kIdentityCheckX, 126, 36, SettingNamed("serial-number")),
    Label("蓝牙名称:", kIdentityLabelX, 138, 60),
    Edit(Ctl::BtName, SettingNamed("bt-name"), kIdentityEditX, 138, kIdentityEditCx),
    Check(Ctl::BtNameCheck, "修改", kIdentityCheckX, 139, 36, SettingNamed("bt-name")),
    Label("蓝牙密码:", kIdentityLabelX, 151, 60),
    Edit(Ctl::BtPassword, SettingNamed("bt-password"), kIdentityEditX, 151, kIdentityEditCx),
    Check(Ctl::BtPasswordCheck, "修改", kIdentityCheckX, 152, 36, SettingNamed("bt-password")),

    Group("打印机串口", {13, 169, 84, 95}),
    Check(Ctl::SerialFormatCheck, "修改", 67, 176, 28, SettingNamed("serial-format")),
    Label("波特率:", 18, 190, 28),
    List(Ctl::PrinterBaudRate, SettingNamed("serial-format"), 47, 190, 46, 0, 3, false),
    Label("校验:", 18, 208, 28),
    List(Ctl::PrinterParity, SettingNamed("serial-format"), 47, 208, 46, 1, 0, false),
    Label("数据位:", 18, 226, 28),
    List(Ctl::PrinterDataBits, SettingNamed("serial-format"), 47, 226, 46, 2, 1, false),
    Label("流控:", 18, 244, 28),
    List(Ctl::PrinterFlowControl, SettingNamed("serial-format"), 47, 244, 46, 3, 1, false),

    Group("字符设置", {106, 169, 215, 56}),
    Label("字体设置:", 112, 179, 40),
    List(Ctl::Font, SettingNamed("font"), 154, 179, 98),
    Check(Ctl::DotMatrix, "针式打印机", 257, 181, 60, SettingNamed("font")),
    Label("语言设置:", 112, 193, 40),
    List(Ctl::Language, SettingNamed("language"), 154, 193, 161),
    Label("代码页:", 112, 207, 40),
    List(Ctl::CodePage, SettingNamed("code-page"), 154, 207, 161),

    Group("黑标", {106, 225, 230, 39}),
    Label("检测:", 112, 234, 22),
    List(Ctl::MarkDetect, SettingNamed("mark-detect"), 136, 234, 36),
    Label("灵敏度:", 178, 234, 30),
    List(Ctl::MarkSensitivity, SettingNamed("mark-sensitivity"), 210, 234, 36),
    Label("定位偏移:", 112, 248, 38),
    List(Ctl::MarkStart, SettingNamed("mark-start"), 152, 248, 45),
    Edit(Ctl::MarkStartOffset, SettingNamed("mark-start"), 199, 248, 24),
    List(Ctl::MarkTear, SettingNamed("mark-tear"), 227, 248, 45),
    Edit(Ctl::MarkTearOffset, SettingNamed("mark-tear"), 274, 248, 24),
    ControlTemplate{Ctl::Static, ControlKind::Label, "(正-进纸)\r\n(负-退纸)", {302, 234, 32, 24}},

    Group("其它设置", {13, 265, 321, 69}),
    Label("速度:", 19, 277, 36),
    List(Ctl::Speed, SettingNamed("speed"), 56, 277, 48),
    Label("浓度:", 110, 277, 30),
    List(Ctl::Density, SettingNamed("density"), 141, 277, 66),
    Label("0D回车:", 214, 277, 40),
    List(Ctl::CrMode, SettingNamed("cr-mode"), 256, 277, 72),
    Label("方向:", 19, 295, 36),
    List(Ctl::Direction, SettingNamed("direction"), 56, 295, 48),
    Label("宽度:", 110, 295, 30),
    List(Ctl::PaperWidth, SettingNamed("paper-width"), 141, 295, 66),
    Label("切刀：", 214, 295, 40),
    List(Ctl::Cutter, SettingNamed("cutter"), 256, 295, 72),
    Label("蜂鸣器:", 19, 313, 36),
    List(Ctl::BuzzerError, SettingNamed("buzzer"), 56, 313, 84),
    List(Ctl::BuzzerCut, SettingNamed("buzzer"), 144, 313, 84, 1),
    Label("USB:", 232, 313, 22),
    List(Ctl::UsbMode, SettingNamed("usb-mode"), 256, 313, 72),

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

const std::array kProgressControls{
    ControlTemplate{Ctl::ProgressText, ControlKind::Label, {}, {7, 7, 226, 18}},
    ControlTemplate{Ctl::ProgressBar, ControlKind::ProgressBar, {}, {7, 27, 226, 10}},
    ControlTemplate{.id = Ctl::IdCancel,
                    .kind = ControlKind::PushButton,
                    .caption = "取消",
                    .rect = {95, 45, 50, 14},
                    .defaultButton = true},
};

// The preview: the dots on the left, the choices in a column on the right, each under its label.
struct PreviewCaptions {
    std::string_view title, preview, paper, width, dither, invert, upscale, ok, cancel;
};

constexpr PreviewCaptions kPreviewChinese{
    "位图预览", "预览:", "纸张:", "宽度(点):", "抖动:", "反色", "放大到纸宽", "确定", "取消"};
constexpr PreviewCaptions kPreviewEnglish{
    "Logo preview",         "Preview:", "Paper:", "Width (dots):", "Dither:", "Invert",
    "Enlarge to the width", "OK",       "Cancel"};

constexpr int kPreviewColumnX = 351;
constexpr int kPreviewColumnCx = 94;

constexpr ControlTemplate ColumnLabel(std::string_view caption, int y) {
    return {.id = Ctl::Static,
            .kind = ControlKind::Label,
            .caption = caption,
            .rect = {kPreviewColumnX, y, kPreviewColumnCx, kLabelHeight}};
}

constexpr ControlTemplate ColumnList(int id, int y, int items) {
    return {.id = id,
            .kind = ControlKind::DropDownList,
            .rect = {kPreviewColumnX, y, kPreviewColumnCx, kListHeight},
            .itemSource = ItemSource::Form,
            .formItems = items};
}

constexpr ControlTemplate ColumnCheck(int id, std::string_view caption, int y) {
    return {.id = id,
            .kind = ControlKind::CheckBox,
            .caption = caption,
            .rect = {kPreviewColumnX, y, kPreviewColumnCx, kCheckHeight}};
}

constexpr auto PreviewControls(const PreviewCaptions& t) {
    return std::array{
        ControlTemplate{Ctl::Static, ControlKind::Label, t.preview, {7, 7, 100, kLabelHeight}},
        ControlTemplate{
            .id = Ctl::PreviewDots, .kind = ControlKind::Dots, .rect = {7, 17, 336, 226}},
        ColumnLabel(t.paper, 17),
        ColumnList(Ctl::PaperList, 27, 5),
        ColumnLabel(t.width, 45),
        ControlTemplate{.id = Ctl::DotsWidth,
                        .kind = ControlKind::Edit,
                        .rect = {kPreviewColumnX, 55, kPreviewColumnCx, kEditHeight},
                        .limit = 5},
        ColumnLabel(t.dither, 73),
        ColumnList(Ctl::DitherList, 83, 4),
        ColumnCheck(Ctl::InvertCheck, t.invert, 101),
        ColumnCheck(Ctl::UpscaleCheck, t.upscale, 115),
        // What the choices give, and whether OK may store it.
        ControlTemplate{
            Ctl::SizeText, ControlKind::Label, {}, {kPreviewColumnX, 133, kPreviewColumnCx, 26}},
        ControlTemplate{
            Ctl::VerdictText, ControlKind::Label, {}, {kPreviewColumnX, 163, kPreviewColumnCx, 42}},
        ControlTemplate{.id = Ctl::IdOk,
                        .kind = ControlKind::PushButton,
                        .caption = t.ok,
                        .rect = {kPreviewColumnX, 229, 45, kButtonHeight},
                        .defaultButton = true},
        Button(Ctl::IdCancel, t.cancel, kPreviewColumnX + 49, 229, 45),
    };
}

const auto kPreviewChineseControls = PreviewControls(kPreviewChinese);
const auto kPreviewEnglishControls = PreviewControls(kPreviewEnglish);

constexpr std::string_view kMainCaption = "Tervan V2.0";

const DialogTemplate kMainDialog{
    Ctl::MainDialog,
    kMainCaption,
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

const DialogTemplate kProgressDialog{
    Ctl::ProgressDialog,  kMainCaption,      240, 66, "MS Shell Dlg", 9,
    {.systemMenu = true}, kProgressControls,
};

const DialogTemplate kPreviewChineseDialog{
    Ctl::PreviewDialog,   kPreviewChinese.title,   452, 250, "MS Shell Dlg", 9,
    {.systemMenu = true}, kPreviewChineseControls,
};

const DialogTemplate kPreviewEnglishDialog{
    Ctl::PreviewDialog,   kPreviewEnglish.title,   452, 250, "MS Shell Dlg", 9,
    {.systemMenu = true}, kPreviewEnglishControls,
};

} // namespace

const DialogTemplate& PreviewDialogTemplate(Language language) {
    return language == Language::Chinese ? kPreviewChineseDialog : kPreviewEnglishDialog;
}

const DialogTemplate& MainDialogTemplate() {
    return kMainDialog;
}

const DialogTemplate& AboutDialogTemplate() {
    return kAboutDialog;
}

const DialogTemplate& ProgressDialogTemplate() {
    return kProgressDialog;
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
