#pragma once

#include "form/ControlIds.h"

// What a screen reader must call each control of the main dialog, in both windows. The hidden
// 1006 and the divider 1014 have no name.
namespace tervan::test {

struct ExpectedName {
    int id;
    const char* name; // UTF-8
};

inline constexpr ExpectedName kExpectedNames[] = {
    {Ctl::PortList, "端口:"},
    {Ctl::BaudRate, "波特率:"},
    {Ctl::Parity, "校验:"},
    {Ctl::DataBits, "数据位:"},
    {Ctl::FlowControl, "流控:"},
    {Ctl::Set, "设置"},
    {Ctl::Manufacturer, "制造商名称:"},
    {Ctl::ManufacturerCheck, "修改 制造商名称"},
    {Ctl::Model, "打印机型号:"},
    {Ctl::ModelCheck, "修改 打印机型号"},
    {Ctl::SerialNumber, "打印机序列号:"},
    {Ctl::SerialNumberCheck, "修改 打印机序列号"},
    {Ctl::BtName, "蓝牙名称:"},
    {Ctl::BtNameCheck, "修改 蓝牙名称"},
    {Ctl::BtPassword, "蓝牙密码:"},
    {Ctl::BtPasswordCheck, "修改 蓝牙密码"},
    {Ctl::SerialFormatCheck, "修改 打印机串口"},
    {Ctl::PrinterBaudRate, "波特率:"},
    {Ctl::PrinterParity, "校验:"},
    {Ctl::PrinterDataBits, "数据位:"},
    {Ctl::PrinterFlowControl, "流控:"},
    {Ctl::Font, "字体设置:"},
    {Ctl::DotMatrix, "针式打印机"},
    {Ctl::Language, "语言设置:"},
    {Ctl::CodePage, "代码页:"},
    {Ctl::MarkDetect, "检测:"},
    {Ctl::MarkSensitivity, "灵敏度:"},
    {Ctl::MarkStart, "定位偏移: 起始位置"},
    {Ctl::MarkStartOffset, "定位偏移(起始位置)"},
    {Ctl::MarkTear, "定位偏移: 撕纸位置"},
    {Ctl::MarkTearOffset, "定位偏移(撕纸位置)"},
    {Ctl::Speed, "速度:"},
    {Ctl::Density, "浓度:"},
    {Ctl::CrMode, "0D回车:"},
    {Ctl::Direction, "方向:"},
    {Ctl::PaperWidth, "宽度:"},
    {Ctl::Cutter, "切刀："},
    {Ctl::BuzzerError, "蜂鸣器: 错误时"},
    {Ctl::BuzzerCut, "蜂鸣器: 切纸时"},
    {Ctl::UsbMode, "USB:"},
    {Ctl::BitmapSlot, "位图索引:"},
    {Ctl::DownloadBitmap, "下载位图"},
    {Ctl::PrintBitmap, "打印位图"},
};

} // namespace tervan::test
