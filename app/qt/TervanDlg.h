#pragma once

#include "app/qt/DialogHost.h"
#include "base/Pause.h"
#include "base/StopToken.h"
#include "form/BoxMessage.h"
#include "form/FormRules.h"
#include "form/MessageMap.h"
#include "form/OperationFlow.h"
#include "link/PrinterLinks.h"

#include <QDialog>

#include <functional>
#include <map>

class QAction;
class QFrame;
class QComboBox;
class QLineEdit;
class QAbstractButton;

namespace tervan {

// The main window: the form of the dialog template, drawn with Qt widgets. It decides nothing
// itself: each notification goes to the form's rules, and what they return is applied here.
class CTervanDlg : public QDialog, private OperationWindow {
public:
    CTervanDlg(CDialogHost& host, FormState form, QWidget* parent = nullptr);

    // The control with number `id`; null when there is none.
    QWidget* Control(int id) const;
    const FormState& Form() const { return m_form; }
    // The about box's command (the context menu's item and F1); null when string 101 is empty.
    QAction* AboutAction() const { return m_aboutAction; }

    // The pause of every conversation; by default a real one that a Cancel cuts short. Tests
    // record the pauses instead of sleeping them. Called on the worker thread.
    using PauseMaker = std::function<PauseFn(const StopToken& stop)>;
    void SetPauseMaker(PauseMaker maker) { m_makePause = std::move(maker); }

    // Ends the dialog (rejected) at once when no operation runs, else as soon as the running one
    // has closed the link.
    void EndWhenIdle();
    // Gives up the running operation at once, even the blank rows a stopped download owes the
    // printer (which then stays in setup mode); nothing when none runs.
    void Abandon();

    bool m_bConnected = false;
    QString m_strTitle; // the caption as the template sets it; status texts are built from it

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    using Handler = void (CTervanDlg::*)(int id);
    template <class Dialog> friend constexpr MessageMap<Dialog> MessageMapOf();
    static const MessageMap<CTervanDlg> kMessageMap;

    void BindMessageMap();
    void Bind(Notify notify, int id, Handler handler);

    // The operations; they arrive with the link.
    void ToggleLink(int id);
    void ApplySettings(int id);
    void DownloadBitmap(int id);
    void PrintBitmap(int id);

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

    void OnSysCommand();

    QComboBox* List(int id) const;
    QLineEdit* Edit(int id) const;
    QAbstractButton* Button(int id) const;

    void ShowState(const ControlState& control);
    void Apply(const FormChanges& changes);

    // What the operations need of this window: the click, the worker thread with its progress
    // window, the boxes and the file chooser.
    bool Busy() const override { return m_busy; }
    void SetBusy(bool busy) override;
    void ClickOpenClose() override;
    bool IsConnected() const override { return m_bConnected; }
    PrinterLinks& Links() override { return m_links; }
    PauseFn MakePause(const StopToken& stop) override;
    void RunWithProgress(const ProgressView& first, StopToken& stop,
                         const std::function<void(const ProgressReport&)>& job) override;
    void Show(const BoxMessage& message) override;
    std::optional<std::filesystem::path> ChooseBitmapFile(Language language) override;

    CDialogHost& m_host;
    PrinterLinks m_links;
    PauseMaker m_makePause;
    bool m_busy = false; // an operation runs: no second one starts
    bool m_endWhenIdle = false;
    StopToken* m_running = nullptr; // the stop of the operation on the worker, while one runs
    FormState m_form;
    std::map<int, QWidget*> m_controls;
    QAction* m_aboutAction = nullptr;
    QFrame* m_clientEdge = nullptr;
};

} // namespace tervan
