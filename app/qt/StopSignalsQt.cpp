#include "app/qt/StopSignalsQt.h"

#include "app/qt/TervanDlg.h"
#include "base/SignalPipe.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <cstdio>
#include <cstring>
#include <memory>

namespace tervan {

namespace {

// Once started, closes every dialog but the main window unanswered, those open and those that
// open later: a box as its button would, a file chooser as cancelled, a progress window as its
// Cancel (which stops the conversation; the window itself closes when the worker has ended).
class CUnansweredCloser : public QObject {
public:
    explicit CUnansweredCloser(const QWidget& main) : m_main(main) {}

    void Start() {
        if (m_started) {
            return;
        }
        m_started = true;
        QApplication::instance()->installEventFilter(this);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) {
                CloseLater(window);
            }
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            CloseLater(static_cast<QWidget*>(watched));
        }
        return false;
    }

private:
    void CloseLater(QWidget* window) const {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog == nullptr || !dialog->isWindow() || dialog == &m_main) {
            return;
        }
        // Queued: a dialog being shown by exec() only leaves once its own loop runs.
        QMetaObject::invokeMethod(
            dialog, [dialog] { dialog->reject(); }, Qt::QueuedConnection);
    }

    const QWidget& m_main;
    bool m_started = false;
};

} // namespace

int ExecStoppable(CTervanDlg& dialog) {
    int caught = 0;
    CUnansweredCloser closer(dialog);
    SignalPipe stopSignals;
    if (stopSignals.Error() != 0) {
        // The signals keep their default action: they end the program at once.
        std::fprintf(stderr, "tervan: no pipe for stop signals: %s\n",
                     std::strerror(stopSignals.Error()));
    }
    std::unique_ptr<QSocketNotifier> notifier;
    if (stopSignals.ReadEnd() >= 0) {
        notifier = std::make_unique<QSocketNotifier>(stopSignals.ReadEnd(), QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&] {
            for (const int signal : stopSignals.Take()) {
                if (caught != 0) {
                    // A second signal: not even the blank rows a stopped download owes are
                    // waited for.
                    dialog.Abandon();
                    continue;
                }
                caught = signal;
                closer.Start();
                dialog.EndWhenIdle();
            }
        });
    }
    dialog.exec();
    return caught != 0 ? 128 + caught : 0;
}

} // namespace tervan
