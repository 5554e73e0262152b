#include "form/WindowStrings.h"

namespace tervan {

namespace {

constexpr std::array<TextEntry<WindowString>, 7> kWindowStrings{{
    {WindowString::AboutMenu, "关于 Tervan(&A)...", "关于 Tervan(&A)..."},
    {WindowString::Close, "关闭", "Close"},
    {WindowString::ConnectionSuccessful, "_连接成功", "_Connection successful"},
    {WindowString::ConnectionClosed, "_连接关闭", "_Connection close"},
    {WindowString::ConnectionFailed, "_连接失败", "_Connection fail"},
    {WindowString::Open, "打开", "Open"},
    {WindowString::OpenBitmapFile, "打开位图文件", "Open bitmap file"},
}};

} // namespace

std::string_view LoadString(WindowString id, Language language) {
    return LookUpText(kWindowStrings, id, language);
}

std::string_view PictureFilterName(Language language) {
    return language == Language::Chinese ? "图片文件(*.png;*.jpg;*.jpeg;*.gif;*.bmp)"
                                         : "Pictures (*.png;*.jpg;*.jpeg;*.gif;*.bmp)";
}

} // namespace tervan
