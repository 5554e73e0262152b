#pragma once

#include "app/qt/DialogHost.h"
#include "form/BoxMessage.h"
#include "form/FormRules.h"
#include "form/Operations.h"
#include "link/PrinterLinks.h"
#include "protocol/Pause.h"
#include "protocol/StopToken.h"

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
class CTervanDlg : public QDialog {
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

    bool m_bConnected = false;
    QString m_strTitle; // the caption as the template sets it; status texts are built from it

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class Notify { Clicked, SelChange, EditChange };
    using Handler = void (CTervanDlg::*)(int id);
    struct MessageMapEntry {
        Notify notify;
        int id;
        Handler handler;
    };
    static const MessageMapEntry kMessageMap[];

    void BindMessageMap();
    void Bind(Notify notify, int id, Handler handler);

    // The operations; they arrive with the link.
    void ToggleLink(int id);
    void ApplySettings(int id);
    void DownloadBitmap(int id);
    void PrintBitmap(int id);

    // The form's rules.
    void OnModifyClicked(int id);
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
    void Show(const BoxMessage& message);
    void ClickOpenClose();

    // What a conversation's worker gets: the link in use (watched), the pause, the stop and the
    // way to the progress window.
    struct Worker {
        Link& link;
        bool isUsb;
        const PauseFn& pause;
        const StopToken& stop;
        std::function<void(const ProgressView&)> report;
    };
    // Runs `job` on a worker thread that owns the link meanwhile, under a modal progress window
    // whose Cancel trips the stop; returns once the worker has been joined. True when the job
    // wrote anything to the printer.
    bool RunOnWorker(const ProgressView& first, const std::function<void(Worker&)>& job);

    CDialogHost& m_host;
    PrinterLinks m_links;
    PauseMaker m_makePause;
    bool m_busy = false; // an operation runs: no second one starts
    bool m_endWhenIdle = false;
    class BusyScope;
    FormState m_form;
    std::map<int, QWidget*> m_controls;
    QAction* m_aboutAction = nullptr;
    QFrame* m_clientEdge = nullptr;
};

} // namespace tervan
