#pragma once

#include "app/win32/TemplateDlg.h"
#include "form/FormWindow.h"
#include "form/MainForm.h"

#include <windows.h>

namespace tervan {

// The main window: the main form as a Win32 dialog, with its icon and system menu, and what the
// form asks of a window: the boxes and the file chooser, modal dialogs, and a job on a worker
// thread under a progress window.
class CTervanDlg : public CTemplateDlg, private FormWindow {
public:
    CTervanDlg(CDialogHost& host, FormState form);

    // Runs the dialog modally; Enter, Esc and the close box end it.
    INT_PTR DoModal(HWND owner = nullptr) { return CTemplateDlg::DoModal(m_form, owner); }
    // The dialog without a loop of its own, shown: the caller's loop drives it (tests).
    HWND Create(HWND owner = nullptr) { return CTemplateDlg::Create(m_form, owner); }

    const MainForm& Form() const { return m_form; }

    // Posted by a conversation's worker thread to the dialog: the progress window has news.
    static constexpr UINT kProgressMessage = WM_APP + 1;

private:
    void OnInitDialog() override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnPaint();

    void Apply(const FormChanges& changes) override { CTemplateDlg::Apply(changes); }
    void RunModal(DialogForm& dialog) override;
    std::optional<ChosenFile> ChooseFile(const FileChoice& choice) override;
    void RunWithProgress(ProgressForm& progress, const std::function<void()>& job) override;
    std::optional<ControlValue> ReadControl(int id, Notify kind) override { return Read(id, kind); }

    MainForm m_form;
    HICON m_hIcon = nullptr;
    HICON m_hSmallIcon = nullptr;
    // The progress window shown while a worker runs, and its form.
    CTemplateDlg* m_progress = nullptr;
    ProgressForm* m_progressForm = nullptr;
};

} // namespace tervan
