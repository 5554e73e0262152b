#include "protocol/Strings.h"

#include <array>
#include <string>

namespace tervan {

namespace {

// The message texts exactly as printers' users know them ("Faill" included).
constexpr std::array<TextEntry<StringId>, 29> kStrings{{
    {StringId::Error, "错误", "Error"},
    {StringId::SetSuccess, "设置成功,重新启动后生效",
     "Set successfully, restart the printer settings to take effect"},
    {StringId::Success, "成功", "Success"},
    {StringId::SetFailed, "设置失败，请检测", "Set fails, please check"},
    {StringId::FileReadFailure, "读取文件失败", "File read failure"},
    {StringId::FileTooLarge, "文件尺寸应小于64k", "File size should be less than 64K"},
    {StringId::NotMonochrome, "位图格式错误，应该是黑白位图",
     "Bitmap format error, it should be black and white bitmap"},
    {StringId::NoFeedback, "未收到打印机的反馈信息", "The printer does not receive feedback"},
    {StringId::DownloadFailed, "下载位图失败", "Download bitmap failed"},
    {StringId::DownloadSuccess, "下载位图成功", "Download bitmap success"},
    {StringId::Tip, "提示", "Tip"},
    {StringId::Failure, "失败", "Faill"},
    {StringId::PortNotOpen, "端口未打开", "Port is not open"},
    {StringId::PortOpenFailed, "端口打开失败，请检测", "Port open failed, please check"},
    {StringId::OffsetOutOfRange, "%1 超出范围，应为 -%2 到 %2 之间的整数",
     "%1 is out of range, it should be a whole number from -%2 to %2"},
    {StringId::UnmappableCharacter,
     "%1 中的字符 %2 无法用代码页 %3 表示，请修改文字，或用环境变量 TERVAN_ANSI_CODEPAGE "
     "选择其他代码页",
     "%1: the character %2 cannot be written in code page %3, please change the text or choose "
     "another code page with the environment variable TERVAN_ANSI_CODEPAGE"},
    {StringId::ControlCharacter, "%1 中含有控制字符 %2，无法发送到打印机，请检测",
     "%1 contains the control character %2, which cannot be sent to the printer, please check"},
    {StringId::PrinterGone, "打印机已断开连接（USB 0483:5720），请检查连接后重试",
     "The printer was disconnected (USB 0483:5720), please check the connection and try again"},
    {StringId::NotAPicture, "不是可读取的图片（可读取 PNG、JPEG、GIF、BMP、TGA 和 PNM）",
     "Not a picture that can be read (PNG, JPEG, GIF, BMP, TGA or PNM)"},
    {StringId::TooManyPixels, "图片为 %1 x %2 像素，超过 5000 万像素的上限",
     "The picture has %1 x %2 pixels, more than the limit of 50 million"},
    {StringId::PictureFileTooLarge, "文件大于 512 MB，不能作为图片读取",
     "The file is larger than 512 MB and cannot be read as a picture"},
    {StringId::LogoOverSlot,
     "宽 %1 点、高 %2 行的位图需要 %3 字节，超过 65536 字节；此宽度下最多 %4 行，请减小宽度",
     "A logo %1 dots wide and %2 rows high takes %3 bytes, more than 65536; at this width at most "
     "%4 rows fit, please choose a smaller width"},
    {StringId::DownloadStopped, "下载已停止：位图槽 %1 只存入了部分位图",
     "Download stopped: slot %1 holds only part of the bitmap"},
    {StringId::StillInSetupMode, "打印机仍处于设置模式，请关闭打印机电源后重新打开",
     "The printer is still in setup mode: switch it off and on again"},
    {StringId::FillingSeconds, "正在用空白行补齐位图，约 %1 秒",
     "Filling the rest of the bitmap with blank rows, about %1 s"},
    {StringId::FillingMinutes, "正在用空白行补齐位图，约 %1 分钟",
     "Filling the rest of the bitmap with blank rows, about %1 min"},
    {StringId::Filling, "正在用空白行补齐位图…", "Filling the rest of the bitmap with blank rows…"},
    {StringId::ProfilePortMissing, "配置中的端口 %1 不在本机的端口列表中，端口未改变",
     "The profile's port %1 is not among this computer's ports; the port is left as it was"},
    {StringId::ConnectionDropped, "打印机断开了网络连接（%1），请检查连接后重试",
     "The printer closed the network connection (%1), please check the connection and try again"},
}};

} // namespace

std::string_view LoadString(StringId id, Language language) {
    return LookUpText(kStrings, id, language);
}

std::string_view LoadString(StringId id) {
    return LoadString(id, UiLanguage());
}

std::string FormatString(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t n = i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : 9;
        if (text[i] == '%' && n < arguments.size()) {
            out += *(arguments.begin() + n);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace tervan
