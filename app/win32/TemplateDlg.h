#pragma once

#include "app/win32/AccessibleNamesWin32.h"
#include "app/win32/DialogHost.h"
#include "form/DialogForm.h"

#include <windows.h>

namespace tervan {

// A dialog of the form's templates as a Win32 dialog. It decides nothing itself: it hands every
// notification of its controls to its form, and applies what comes back with Apply. Boxes go
// through the host.
class CTemplateDlg {
public:
    explicit CTemplateDlg(CDialogHost& host) : m_host(host) {}
    virtual ~CTemplateDlg();
    CTemplateDlg(const CTemplateDlg&) = delete;
    CTemplateDlg& operator=(const CTemplateDlg&) = delete;

    // Runs `form`'s dialog modally until the form ends it.
    INT_PTR DoModal(DialogForm& form, HWND owner);
    // The dialog without a loop of its own, shown: the caller's loop drives it (tests).
    HWND Create(DialogForm& form, HWND owner);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND Control(int id) const { return ::GetDlgItem(m_hWnd, id); }
    // What control `id` holds now, as a notification of `kind` brings it.
    ControlValue Read(int id, Notify kind) const;
    void Apply(const FormChanges& changes);

    // Posted to the dialog from any thread: its form has work of its own to show.
    static constexpr UINT kRefreshMessage = WM_APP + 2;

protected:
    // Messages beyond the controls' notifications, for a dialog that has more to do.
    virtual void OnInitDialog() {}
    virtual INT_PTR OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return FALSE;
    }
    void Dispatch(const Notification& notification) { Apply(m_form->Dispatch(notification)); }

    CDialogHost& m_host;
    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Init(HWND hwnd);
    void OnCommand(int id, int code);
    void Show(const BoxMessage& box);

    DialogForm* m_form = nullptr;
    CAccessibleNames m_names;
    bool m_modal = false;
    bool m_applying = false; // the form's own changes raise no notification
};

} // namespace tervan
