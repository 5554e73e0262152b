#include "app/win32/AboutDlg.h"

#include "app/win32/DialogTemplateWin32.h"
#include "app/win32/resource.h"

namespace tervan {

INT_PTR CAboutDlg::DoModal(HWND owner) {
    const TemplateWriter dialog = BuildDialogTemplate(AboutDialogTemplate(), IDR_MAINFRAME);
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, &DialogProc,
                                     0);
}

INT_PTR CALLBACK CAboutDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE; // focus on the first control that takes it: "确定"
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace tervan
