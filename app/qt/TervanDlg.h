#pragma once

#include "app/qt/TemplateDlg.h"
#include "form/FormWindow.h"
#include "form/MainForm.h"

namespace tervan {

// The main window: the main form drawn with Qt widgets, with what the form asks of a window: the
// boxes and the file chooser, modal dialogs, and a job on a worker thread under a progress window.
class CTervanDlg : public CTemplateDlg, private FormWindow {
public:
    CTervanDlg(CDialogHost& host, FormState form, QWidget* parent = nullptr);

    MainForm& Form() { return m_form; }
    const MainForm& Form() const { return m_form; }

    // Ends the dialog (rejected) at once when no operation runs, else as soon as the running one
    // has closed the link.
    void EndWhenIdle() { CTemplateDlg::Apply(m_form.EndWhenIdle()); }
    // Gives up the running operation at once, even the blank rows a stopped download owes the
    // printer (which then stays in setup mode); nothing when none runs.
    void Abandon() { m_form.Abandon(); }

private:
    void Apply(const FormChanges& changes) override { CTemplateDlg::Apply(changes); }
    void RunModal(DialogForm& dialog) override;
    std::optional<ChosenFile> ChooseFile(const FileChoice& choice) override;
    void RunWithProgress(ProgressForm& progress, const std::function<void()>& job) override;

    MainForm m_form;
};

} // namespace tervan
