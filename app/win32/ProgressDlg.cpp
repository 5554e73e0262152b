#include "app/win32/ProgressDlg.h"

#include "app/win32/DialogTemplateWin32.h"
#include "form/ControlIds.h"

#include <commctrl.h>

namespace tervan {

namespace {

TemplateWriter ProgressTemplate(const std::wstring& title, const std::wstring& cancelText) {
    TemplateWriter writer(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION |
                              WS_SYSMENU,
                          0, {0, 0, 240, 66}, title, L"MS Shell Dlg", 9);
    writer.AddControl(CProgressDlg::kTextId, kStaticClass,
                      WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, {7, 7, 226, 18}, L"");
    writer.AddControl(CProgressDlg::kBarId, {0, PROGRESS_CLASSW}, WS_CHILD | WS_VISIBLE, 0,
                      {7, 27, 226, 10}, L"");
    writer.AddControl(Ctl::IdCancel, kButtonClass,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {95, 45, 50, 14},
                      cancelText);
    return writer;
}

} // namespace

CProgressDlg::CProgressDlg(std::wstring title, std::wstring cancelText, std::wstring stoppingText,
                           std::function<void()> onCancel, std::function<void()> onAbandon)
    : m_title(std::move(title)), m_cancelText(std::move(cancelText)),
      m_stoppingText(std::move(stoppingText)), m_onCancel(std::move(onCancel)),
      m_onAbandon(std::move(onAbandon)) {}

void CProgressDlg::DoModal(HWND owner) {
    if (m_finished) {
        return;
    }
    const TemplateWriter dialog = ProgressTemplate(m_title, m_cancelText);
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, &DialogProc,
                              reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
}

void CProgressDlg::Show(const std::wstring& text, int value, int maximum, bool cancellable) {
    m_text = text;
    m_value = value;
    m_maximum = maximum;
    m_cancellable = cancellable;
    if (m_hWnd == nullptr) {
        return; // shown once the window is there
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, Ctl::IdCancel), cancellable && !m_stopping);
    // After a Cancel the text says so, unless the conversation has more to tell meanwhile.
    if (!m_stopping || !cancellable) {
        ::SetDlgItemTextW(m_hWnd, kTextId, m_text.c_str());
    }
    HWND bar = ::GetDlgItem(m_hWnd, kBarId);
    // A bar without a maximum marches: the step is not known.
    const LONG_PTR style = ::GetWindowLongPtrW(bar, GWL_STYLE);
    if (m_maximum > 0) {
        ::SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
        ::SetWindowLongPtrW(bar, GWL_STYLE, style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
        ::SendMessageW(bar, PBM_SETRANGE32, 0, m_maximum);
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(m_value), 0);
    } else {
        ::SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
        ::SendMessageW(bar, PBM_SETMARQUEE, TRUE, 0);
    }
}

void CProgressDlg::Finish() {
    m_finished = true;
    if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, IDOK);
    }
}

void CProgressDlg::OnInitDialog(HWND hwnd) {
    m_hWnd = hwnd;
    if (m_finished) {
        ::EndDialog(hwnd, IDOK);
        return;
    }
    Show(m_text, m_value, m_maximum, m_cancellable);
}

void CProgressDlg::OnCancel() {
    if (!m_cancellable || m_stopping) {
        return;
    }
    m_stopping = true;
    if (m_onCancel) {
        m_onCancel();
    }
    // The conversation still ends properly (setup mode is left); the window waits for that.
    ::EnableWindow(::GetDlgItem(m_hWnd, Ctl::IdCancel), FALSE);
    ::SetDlgItemTextW(m_hWnd, kTextId, m_stoppingText.c_str());
}

void CProgressDlg::OnClose() {
    if (m_cancellable) {
        OnCancel();
    } else if (m_onAbandon) {
        m_onAbandon();
    }
}

INT_PTR CALLBACK CProgressDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CProgressDlg*>(lParam)->OnInitDialog(hwnd);
        return TRUE;
    }
    auto* self = reinterpret_cast<CProgressDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        self->OnCancel(); // Esc and the button alike
        return TRUE;
    }
    if (message == WM_CLOSE) {
        self->OnClose(); // the close box and Alt+F4; the window goes when the worker has ended
        return TRUE;
    }
    return FALSE;
}

} // namespace tervan
