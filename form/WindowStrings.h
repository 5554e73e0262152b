#pragma once

#include "protocol/Strings.h"

#include <string_view>

namespace tervan {

// The texts only the windows show, numbered in the one string table with protocol/Strings.h's:
// the Windows program's string table resource is written from both.
enum class WindowString : int {
    AboutMenu = 101,            // the window menu's item for the about box; none when empty
    Close = 102,                // 1006 while a link is open
    ConnectionSuccessful = 103, // the title's status after an open, a close, a failed open
    ConnectionClosed = 104,
    ConnectionFailed = 105,
    Open = 108,           // 1006 after closing
    OpenBitmapFile = 111, // the file chooser's title
    // Settings profiles: the window menu's two items, their choosers' titles and filter entry.
    SaveProfileMenu = 135,
    LoadProfileMenu = 136,
    SaveProfileFile = 150,
    LoadProfileFile = 151,
    ProfileFilter = 152,
};

// The text of `id` in `language` (UTF-8); empty for a number without one.
std::string_view LoadString(WindowString id, Language language);

// The file chooser of a download: 1-bit BMP files first, shown the same in every language, then
// the pictures a preview converts.
inline constexpr std::string_view kBitmapFilterName = "位图文件(*.bmp)";
inline constexpr std::string_view kBitmapPattern = "*.bmp";
inline constexpr std::string_view kBitmapExtension = "bmp";
inline constexpr std::string_view kPicturePatterns = "*.png;*.jpg;*.jpeg;*.gif;*.bmp";
std::string_view PictureFilterName(Language language);

} // namespace tervan
