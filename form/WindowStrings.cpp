#include "form/WindowStrings.h"

namespace tervan {

namespace {

constexpr std::array<TextEntry<WindowString>, 12> kWindowStrings{{
    {WindowString::AboutMenu, "关于 Tervan(&A)...", "关于 Tervan(&A)..."},
    {WindowString::Close, "关闭", "Close"},
    {WindowString::ConnectionSuccessful, "_连接成功", "_Connection successful"},
    {WindowString::ConnectionClosed, "_连接关闭", "_Connection close"},
    {WindowString::ConnectionFailed, "_连接失败", "_Connection fail"},
    {WindowString::Open, "打开", "Open"},
    {WindowString::OpenBitmapFile, "打开位图文件", "Open bitmap file"},
    {WindowString::SaveProfileMenu, "保存配置(&P)…", "Save &profile…"},
    {WindowString::LoadProfileMenu, "载入配置(&L)…", "&Load profile…"},
    {WindowString::SaveProfileFile, "保存配置文件", "Save profile"},
    {WindowString::LoadProfileFile, "载入配置文件", "Load profile"},
    {WindowString::ProfileFilter, "配置文件(*.toml)", "Profiles (*.toml)"},
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
