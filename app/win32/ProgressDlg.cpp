#include "app/win32/ProgressDlg.h"

#include "app/win32/DialogTemplateWin32.h"
#include "app/win32/OperationMessages.h"
#include "form/ControlIds.h"
#include "link/WideTextWin32.h"

#include <commctrl.h>

namespace tervan {

namespace {

constexpr int kBarRange = 1000;

TemplateWriter ProgressTemplate(Language language) {
    const bool zh = language == Language::Chinese;
    TemplateWriter writer(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION, 0,
                          {0, 0, 240, 66}, L"Tervan", L"MS Shell Dlg", 9);
    writer.AddControl(CProgressDlg::kTextId, kStaticClass,
                      WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, {7, 7, 226, 18}, L"");
    writer.AddControl(CProgressDlg::kBarId, {0, PROGRESS_CLASSW}, WS_CHILD | WS_VISIBLE, 0,
                      {7, 27, 226, 10}, L"");
    writer.AddControl(Ctl::IdCancel, kButtonClass,
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, {95, 45, 50, 14},
                      zh ? L"取消" : L"Cancel");
    return writer;
}

} // namespace

void CProgressDlg::DoModal(HWND owner) {
    if (m_finished) {
        return;
    }
    const Language language = UiLanguage();
    const TemplateWriter dialog = ProgressTemplate(language);
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, &DialogProc,
                              reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
}

void CProgressDlg::SetProgress(const std::wstring& text, std::size_t step, std::size_t total) {
    if (m_hWnd == nullptr) {
        return;
    }
    ::SetDlgItemTextW(m_hWnd, kTextId, text.c_str());
    if (total > 0) {
        const auto position = static_cast<WPARAM>(step * kBarRange / total);
        ::SendDlgItemMessageW(m_hWnd, kBarId, PBM_SETPOS, position, 0);
    }
}

void CProgressDlg::Finish() {
    m_finished = true;
    if (m_hWnd != nullptr) {
        ::EndDialog(m_hWnd, IDOK);
    }
}

void CProgressDlg::OnCancel() {
    m_stop.RequestStop();
    // The conversation still ends properly (setup mode is left); the window waits for that.
    ::EnableWindow(::GetDlgItem(m_hWnd, Ctl::IdCancel), FALSE);
    ::SetDlgItemTextW(m_hWnd, kTextId,
                      WidenUtf8(ProgressText(ProgressStage::Stopping, 0, 0, UiLanguage())).c_str());
}

INT_PTR CALLBACK CProgressDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CProgressDlg*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        ::SendDlgItemMessageW(hwnd, kBarId, PBM_SETRANGE32, 0, kBarRange);
        if (self->m_finished) {
            ::EndDialog(hwnd, IDOK);
        }
        return TRUE;
    }
    auto* self = reinterpret_cast<CProgressDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        self->OnCancel(); // Esc, the close box and the button alike
        return TRUE;
    }
    return FALSE;
}

} // namespace tervan
