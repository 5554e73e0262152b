#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tervan {

// The modal window shown while a conversation runs on its worker thread: what is happening, a
// bar, and Cancel, which asks the conversation to stop (as do Esc and the close box). It stays
// until Finish is called, so the form takes no input before the verdict. While what it shows is
// not cancellable (a stopped download's blank rows), Cancel and Esc do nothing, and closing the
// window abandons the conversation.
class CProgressDlg {
public:
    CProgressDlg(std::wstring title, std::wstring cancelText, std::wstring stoppingText,
                 std::function<void()> onCancel, std::function<void()> onAbandon);

    // Runs modally over `owner` (which it disables) until Finish.
    void DoModal(HWND owner);
    // `maximum` 0: a bar that only says "busy".
    void Show(const std::wstring& text, int value, int maximum, bool cancellable = true);
    // Ends the window; called before it has appeared, it never appears.
    void Finish();

    static constexpr int kTextId = 1101;
    static constexpr int kBarId = 1102;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND hwnd);
    void OnCancel();
    void OnClose();

    std::wstring m_title;
    std::wstring m_cancelText;
    std::wstring m_stoppingText;
    std::function<void()> m_onCancel;
    std::function<void()> m_onAbandon;
    std::wstring m_text;
    int m_value = 0;
    int m_maximum = 0;
    HWND m_hWnd = nullptr;
    bool m_finished = false;
    bool m_stopping = false; // Cancel pressed: the text says so until the end
    bool m_cancellable = true;
};

} // namespace tervan
