#include "app/win32/TervanApp.h"

#include "app/win32/DialogHost.h"
#include "app/win32/TervanDlg.h"
#include "form/FormState.h"

#include <commctrl.h>

namespace tervan {

bool CTervanApp::InitInstance() {
    // Every standard control class, the track bar among them: without it the dialog cannot be
    // made.
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    CWin32DialogHost host;
    CTervanDlg dialog(host, OpeningFormState({}, SystemAnsiCodePage()));
    dialog.DoModal(); // its result does not matter: closing it ends the program
    return false;
}

} // namespace tervan
