#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tervan {

// The modal window shown while a conversation runs on its worker thread: what is happening, a bar
// and Cancel. Cancel (or Esc, or the close box) only asks the conversation to stop; the window
// closes when the worker has ended, so the printer still leaves setup mode. While what it shows is
// not cancellable (a stopped download's blank rows), Cancel and Esc do nothing, and the close box
// abandons the conversation.
class CProgressDlg : public QDialog {
    Q_OBJECT

public:
    CProgressDlg(QWidget* parent, const QString& title, const QString& cancelText,
                 QString stoppingText, std::function<void()> onCancel,
                 std::function<void()> onAbandon);

    // A maximum of 0 shows a busy bar.
    void Show(const QString& text, int value, int maximum, bool cancellable = true);
    // The worker has ended.
    void Finish();

    QPushButton* CancelButton() const { return m_cancel; }
    QString Text() const;

    void reject() override; // Esc cancels; it does not close

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Cancel();

    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    std::function<void()> m_onCancel;
    std::function<void()> m_onAbandon;
    QString m_stoppingText;
    bool m_finished = false;
    bool m_cancelled = false;
    bool m_cancellable = true;
};

} // namespace tervan
