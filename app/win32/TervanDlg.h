#pragma once

#include "app/win32/AccessibleNamesWin32.h"
#include "app/win32/DialogHost.h"
#include "app/win32/DialogTemplateWin32.h"
#include "base/Pause.h"
#include "base/StopToken.h"
#include "form/BoxMessage.h"
#include "form/FormRules.h"
#include "form/MessageMap.h"
#include "form/OperationFlow.h"
#include "link/PrinterLinks.h"

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>

namespace tervan {

class CProgressDlg;

// The main window: the form of the dialog template as a Win32 dialog. It decides nothing itself:
// each notification goes to the form's rules and what they return is applied here; the link and
// the conversations are the core's.
class CTervanDlg : private OperationWindow {
public:
    CTervanDlg(CDialogHost& host, FormState form);
    ~CTervanDlg();
    CTervanDlg(const CTervanDlg&) = delete;
    CTervanDlg& operator=(const CTervanDlg&) = delete;

    // Runs the dialog modally; Enter, Esc and the close box end it.
    INT_PTR DoModal(HWND owner = nullptr);
    // The dialog without a loop of its own, shown: the caller's loop drives it (tests).
    HWND Create(HWND owner = nullptr);

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND Control(int id) const { return ::GetDlgItem(m_hWnd, id); }
    const FormState& Form() const { return m_form; }

    bool m_bConnected = false;
    std::wstring m_strTitle; // the caption as the template sets it; status texts are built from it

    // Posted by a conversation's worker thread to the dialog.
    static constexpr UINT kProgressMessage = WM_APP + 1;
    static constexpr UINT kDoneMessage = WM_APP + 2;

private:
    template <class Dialog> friend constexpr MessageMap<Dialog> MessageMapOf();
    static const MessageMap<CTervanDlg> kMessageMap;

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    void OnCommand(int id, int code);
    bool OnSysCommand(WPARAM command);
    bool OnPaint();
    void EndDialog(int result);

    // The link and the operations.
    void ToggleLink(int id);
    void ApplySettings(int id);
    void DownloadBitmap(int id);
    void PrintBitmap(int id);

    // What the operations need of this window: the click, the worker thread with its progress
    // window, the boxes and the file chooser.
    bool Busy() const override { return m_busy; }
    void SetBusy(bool busy) override { m_busy = busy; }
    void ClickOpenClose() override;
    bool IsConnected() const override { return m_bConnected; }
    PrinterLinks& Links() override { return m_links; }
    void RunWithProgress(const ProgressView& first, StopToken& stop,
                         const std::function<void(const ProgressReport&)>& job) override;
    void Show(const BoxMessage& message) override;
    std::optional<std::filesystem::path> ChooseBitmapFile(Language language) override;
    void OnProgress();

    // The form's rules.
    void OnModifyChange(int id);
    void OnFontSwitch(int id);
    void SelectPort(int id);
    void OnBuzzerChange(int id);
    void OnBtNameChange(int id);
    void OnBtPasswordChange(int id);
    // Controls without a rule of their own: the form only takes their new value.
    void KeepSelection(int id);
    void KeepText(int id);

    // Hands the rules every change of a control that came without its notification.
    void ReadControls();

    int Selection(int id) const;
    bool Checked(int id) const;
    std::u16string Text(int id) const;

    void ShowState(const ControlState& control);
    void Apply(const FormChanges& changes);

    CDialogHost& m_host;
    FormState m_form;
    PrinterLinks m_links;
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    HWND m_hWnd = nullptr;
    CAccessibleNames m_names;
    bool m_modal = false;
    bool m_applying = false; // a rule's own changes raise no further handling
    bool m_busy = false;     // an operation is running
    CProgressDlg* m_progress = nullptr;
    // The worker's latest progress, handed to the user-interface thread.
    std::mutex m_progressLock;
    std::optional<ProgressView> m_pendingProgress;
};

} // namespace tervan
