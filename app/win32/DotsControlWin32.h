#pragma once

#include "bitmap/Dither.h"

#include <windows.h>

#include <memory>

// The control that shows a logo's dots, black on white as the printer prints them: one pixel a dot
// when they fit, else scaled down as a whole without smoothing, so the picture stays made of dots.
namespace tervan {

inline constexpr const wchar_t* kDotsClass = L"TervanDots";

// Registers the control's window class once for the program; before any dialog that holds one.
void RegisterDotsControl();

// Null shows none.
void SetDots(HWND control, std::shared_ptr<const LogoDots> dots);
std::shared_ptr<const LogoDots> GetDots(HWND control);

} // namespace tervan
