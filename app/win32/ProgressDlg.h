#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tervan {

// The modal window shown while a conversation runs on its worker thread: what is happening, a
// bar, and Cancel, which asks the conversation to stop. It stays until Finish is called, so the
// form takes no input before the verdict.
class CProgressDlg {
public:
    CProgressDlg(std::wstring title, std::wstring cancelText, std::wstring stoppingText,
                 std::function<void()> onCancel);

    // Runs modally over `owner` (which it disables) until Finish.
    void DoModal(HWND owner);
    // `maximum` 0: a bar that only says "busy".
    void Show(const std::wstring& text, int value, int maximum);
    // Ends the window; called before it has appeared, it never appears.
    void Finish();

    static constexpr int kTextId = 1101;
    static constexpr int kBarId = 1102;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND hwnd);
    void OnCancel();

    std::wstring m_title;
    std::wstring m_cancelText;
    std::wstring m_stoppingText;
    std::function<void()> m_onCancel;
    std::wstring m_text;
    int m_value = 0;
    int m_maximum = 0;
    HWND m_hWnd = nullptr;
    bool m_finished = false;
    bool m_stopping = false; // Cancel pressed: the text says so until the end
};

} // namespace tervan
