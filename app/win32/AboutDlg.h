#pragma once

#include <windows.h>

namespace tervan {

// The about box, dialog 100 of the form's templates.
class CAboutDlg {
public:
    INT_PTR DoModal(HWND owner);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace tervan
