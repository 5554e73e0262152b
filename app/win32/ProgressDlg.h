#pragma once

#include "protocol/StopToken.h"

#include <windows.h>

#include <string>

namespace tervan {

// The modal window shown while a conversation runs on its worker thread: what is happening, a
// bar, and Cancel, which trips the conversation's stop token. It stays until Finish is called,
// so the form takes no input before the verdict.
class CProgressDlg {
public:
    explicit CProgressDlg(StopToken& stop) : m_stop(stop) {}

    // Runs modally over `owner` (which it disables) until Finish.
    void DoModal(HWND owner);
    // `total` 0: no bar position to show.
    void SetProgress(const std::wstring& text, std::size_t step, std::size_t total);
    // Ends the window; called before it has appeared, it never appears.
    void Finish();

    HWND GetSafeHwnd() const { return m_hWnd; }

    static constexpr int kTextId = 1101;
    static constexpr int kBarId = 1102;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCancel();

    StopToken& m_stop;
    HWND m_hWnd = nullptr;
    bool m_finished = false;
};

} // namespace tervan
