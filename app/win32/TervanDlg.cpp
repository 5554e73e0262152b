#include "app/win32/TervanDlg.h"

#include "app/win32/resource.h"
#include "base/WideTextWin32.h"
#include "form/ProgressForm.h"

#include <thread>

namespace tervan {

namespace {

HICON LoadAppIcon(int cxMetric, int cyMetric) {
    return static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                     ::GetSystemMetrics(cxMetric), ::GetSystemMetrics(cyMetric), LR_SHARED));
}

} // namespace

CTervanDlg::CTervanDlg(CDialogHost& host, FormState form)
    : CTemplateDlg(host), m_form(std::move(form), *this),
      m_hIcon(LoadAppIcon(SM_CXICON, SM_CYICON)),
      m_hSmallIcon(LoadAppIcon(SM_CXSMICON, SM_CYSMICON)) {}

void CTervanDlg::OnInitDialog() {
    // The window's menu joins the system menu, after the system's own items.
    if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) {
        for (const MenuItem& item : m_form.Menu()) {
            if (item.startsGroup) {
                ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            }
            ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id),
                          WidenUtf8(item.text).c_str());
        }
    }
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
}

INT_PTR CTervanDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_SYSCOMMAND:
        for (const MenuItem& item : m_form.Menu()) {
            if ((wParam & 0xFFF0) == static_cast<WPARAM>(item.id)) {
                Dispatch({item.id, Notify::Clicked, {}});
                return TRUE;
            }
        }
        return FALSE; // default processing
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIcon);
    case kProgressMessage:
        if (m_progress != nullptr) {
            m_progress->Apply(m_progressForm->Update());
        }
        return TRUE;
    default:
        return FALSE;
    }
}

bool CTervanDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        return false; // the dialog paints itself
    }
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

void CTervanDlg::RunModal(DialogForm& dialog) {
    CTemplateDlg window(m_host);
    window.DoModal(dialog, m_hWnd);
    dialog.SetRefresh({}); // the window is gone
}

std::optional<ChosenFile> CTervanDlg::ChooseFile(const FileChoice& choice) {
    // The entries as GetOpenFileNameW takes them: each name and its patterns, then the closing
    // NUL (the string's own).
    std::wstring filter;
    for (const FileFilter& entry : choice.filters) {
        filter += WidenUtf8(entry.name) + L'\0' + WidenUtf8(entry.patterns) + L'\0';
    }
    return m_host.ChooseFile(m_hWnd, WidenUtf8(choice.title), filter, WidenUtf8(choice.extension),
                             choice.save);
}

void CTervanDlg::RunWithProgress(ProgressForm& progress, const std::function<void()>& job) {
    CTemplateDlg window(m_host);
    // One message in the queue at a time, however often the worker reports: posted messages
    // come before the user's input.
    progress.SetWake([hwnd = m_hWnd] { ::PostMessageW(hwnd, kProgressMessage, 0, 0); });
    m_progress = &window;
    m_progressForm = &progress;
    {
        // From here until the join the link belongs to the worker; the window ends when it has.
        const std::jthread worker(job);
        window.DoModal(progress, m_hWnd);
    }
    m_progress = nullptr;
    m_progressForm = nullptr;
}

} // namespace tervan
