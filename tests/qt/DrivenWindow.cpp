// The window program as it starts for a user (its main), driven from inside: it asks to set the
// manufacturer to "测试", answers every box and ends. The boxes go to standard output as
// "caption: text" lines. When the toolkit starts, the change a toolkit may make where the system
// lacks the user's locale is played in full: LC_CTYPE becomes C.UTF-8 in the process and in its
// environment.
#include "app/qt/TervanApp.h"
#include "app/qt/TervanDlg.h"
#include "form/ControlIds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace {

using tervan::CTervanDlg;
namespace Ctl = tervan::Ctl;

CTervanDlg* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = dynamic_cast<CTervanDlg*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

void Drive() {
    static bool started = false;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        std::printf("%s: %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
        std::fflush(stdout);
        box->button(QMessageBox::Ok)->click();
        return;
    }
    CTervanDlg* dialog = MainWindow();
    if (started || dialog == nullptr) {
        return;
    }
    started = true;
    qobject_cast<QAbstractButton*>(dialog->Control(Ctl::ManufacturerCheck))->click();
    qobject_cast<QLineEdit*>(dialog->Control(Ctl::Manufacturer))->setText(QStringLiteral("测试"));
    // Outside this timer's call, which must go on answering the boxes meanwhile.
    QTimer::singleShot(0, dialog, [dialog] {
        qobject_cast<QAbstractButton*>(dialog->Control(Ctl::Set))->click();
        dialog->EndWhenIdle();
    });
}

void AtToolkitStart() {
    setenv("LC_CTYPE", "C.UTF-8", 1);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    auto* timer = new QTimer(QCoreApplication::instance()); // the application deletes it
    QObject::connect(timer, &QTimer::timeout, &Drive);
    timer->start(20);
}

} // namespace

int main(int argc, char** argv) {
    qAddPreRoutine(&AtToolkitStart);
    return tervan::RunTervan(argc, argv);
}
