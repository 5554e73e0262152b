#include "app/qt/ProgressDlg.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tervan {

CProgressDlg::CProgressDlg(QWidget* parent, const QString& title, const QString& cancelText,
                           QString stoppingText, std::function<void()> onCancel,
                           std::function<void()> onAbandon)
    : QDialog(parent), m_onCancel(std::move(onCancel)), m_onAbandon(std::move(onAbandon)),
      m_stoppingText(std::move(stoppingText)) {
    setWindowTitle(title);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_cancel->setText(cancelText);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::Cancel);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
}

void CProgressDlg::Show(const QString& text, int value, int maximum, bool cancellable) {
    m_cancellable = cancellable;
    m_cancel->setEnabled(cancellable && !m_cancelled);
    // After a Cancel the text says so, unless the conversation has more to tell meanwhile.
    if (!m_cancelled || !cancellable) {
        m_text->setText(text);
    }
    m_bar->setRange(0, maximum);
    m_bar->setValue(value);
}

void CProgressDlg::Finish() {
    m_finished = true;
    done(QDialog::Accepted);
}

QString CProgressDlg::Text() const {
    return m_text->text();
}

void CProgressDlg::reject() {
    if (m_finished) {
        QDialog::reject();
        return;
    }
    if (m_cancellable) {
        Cancel();
    }
}

void CProgressDlg::closeEvent(QCloseEvent* event) {
    if (m_finished) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore(); // the window goes when the worker has ended
    if (m_cancellable) {
        Cancel();
    } else {
        m_onAbandon();
    }
}

void CProgressDlg::Cancel() {
    if (m_cancelled) {
        return;
    }
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_text->setText(m_stoppingText);
    m_onCancel();
}

} // namespace tervan
