#pragma once

#include "app/qt/DialogHost.h"
#include "form/DialogForm.h"

#include <QDialog>

#include <map>

class QFrame;

namespace tervan {

// A dialog of the form's templates, drawn with Qt widgets. It decides nothing itself: it hands
// every notification of its controls to its form, and applies what comes back with Apply. Boxes
// go through the host.
class CTemplateDlg : public QDialog {
public:
    explicit CTemplateDlg(CDialogHost& host, QWidget* parent = nullptr);

    // Draws `form`'s template with what it shows at first; from then on its controls report.
    void Draw(DialogForm& form);
    // The control with number `id`; null when there is none.
    QWidget* Control(int id) const;
    const DialogTemplate& Template() const { return m_form->Template(); }
    void Apply(const FormChanges& changes);

    void setVisible(bool visible) override;
    void reject() override; // Esc, as the form decides

protected:
    void Dispatch(const Notification& notification) { Apply(m_form->Dispatch(notification)); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    CDialogHost& m_host;

private:
    void Bind(int id, QWidget* widget, ControlKind kind);
    void Show(const BoxMessage& box);

    DialogForm* m_form = nullptr;
    std::map<int, QWidget*> m_controls;
    QFrame* m_clientEdge = nullptr;
};

} // namespace tervan
