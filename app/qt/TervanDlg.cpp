#include "app/qt/TervanDlg.h"

#include "app/qt/TemplateWidgets.h"
#include "form/ProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QShortcut>

#include <thread>

namespace tervan {

CTervanDlg::CTervanDlg(CDialogHost& host, FormState form, QWidget* parent)
    : CTemplateDlg(host, parent), m_form(std::move(form), *this) {
    Draw(m_form);
    // The window's menu is its context menu.
    for (const MenuItem& item : m_form.Menu()) {
        if (item.startsGroup && !actions().isEmpty()) {
            auto* separator = new QAction(this);
            separator->setSeparator(true);
            addAction(separator);
        }
        auto* action = new QAction(Text(item.text), this);
        action->setShortcut(QKeySequence(Text(item.shortcut)));
        connect(action, &QAction::triggered, this, [this, id = item.id] {
            Dispatch({id, Notify::Clicked, {}});
        });
        addAction(action);
        setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    // Shift+F10 opens it as the Menu key does, where the focus is, as Windows' and GTK's do.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &event);
    });
}

void CTervanDlg::RunModal(DialogForm& dialog) {
    CTemplateDlg window(m_host, this);
    window.Draw(dialog);
    m_host.RunModal(window);
    dialog.SetRefresh({}); // the window goes
}

std::optional<ChosenFile> CTervanDlg::ChooseFile(const FileChoice& choice) {
    // Qt reads a filter's patterns from its parentheses, separated by blanks.
    QStringList filters;
    for (const FileFilter& filter : choice.filters) {
        filters.push_back(Text(filter.name).replace(u';', u' '));
    }
    return m_host.ChooseFile(this, Text(choice.title), filters, Text(choice.extension),
                             choice.save);
}

void CTervanDlg::RunWithProgress(ProgressForm& progress, const std::function<void()>& job) {
    CTemplateDlg window(m_host, this);
    window.Draw(progress);
    progress.SetWake([&window, &progress] {
        QMetaObject::invokeMethod(
            &window, [&window, &progress] { window.Apply(progress.Update()); },
            Qt::QueuedConnection);
    });
    // From here until the join the link belongs to the worker; the window ends when it has.
    const std::jthread worker(job);
    window.exec();
}

} // namespace tervan
