#include "form/AccessibleNames.h"

#include "form/ControlIds.h"

#include <array>
#include <utility>

namespace tervan {

namespace {

// The controls that a label before them or a caption of their own cannot tell apart: the six
// "修改" boxes name their row, and where one label stands for two controls each says which.
constexpr std::array<std::pair<int, std::string_view>, 12> kGivenNames{{
    {Ctl::ManufacturerCheck, "修改 制造商名称"},
    {Ctl::ModelCheck, "修改 打印机型号"},
    {Ctl::SerialNumberCheck, "修改 打印机序列号"},
    {Ctl::BtNameCheck, "修改 蓝牙名称"},
    {Ctl::BtPasswordCheck, "修改 蓝牙密码"},
    {Ctl::SerialFormatCheck, "修改 打印机串口"},
    // One label stands before both offsets: each list says which offset it turns on, each edit
    // is named as the input check names it when it refuses the value.
    {Ctl::MarkStart, "定位偏移: 起始位置"},
    {Ctl::MarkStartOffset, "定位偏移(起始位置)"},
    {Ctl::MarkTear, "定位偏移: 撕纸位置"},
    {Ctl::MarkTearOffset, "定位偏移(撕纸位置)"},
    {Ctl::BuzzerError, "蜂鸣器: 错误时"},
    {Ctl::BuzzerCut, "蜂鸣器: 切纸时"},
}};

} // namespace

AccessibleName AccessibleNameOf(const DialogTemplate& dialog, std::size_t index) {
    const ControlTemplate& control = dialog.controls[index];
    if (control.id != Ctl::Static) {
        for (const auto& [id, name] : kGivenNames) {
            if (id == control.id) {
                return {name, NameSource::Given};
            }
        }
    }
    if (!control.caption.empty()) {
        return {control.caption, NameSource::Caption};
    }
    if (index > 0 && dialog.controls[index - 1].kind == ControlKind::Label) {
        return {dialog.controls[index - 1].caption, NameSource::Label};
    }
    return {};
}

} // namespace tervan
