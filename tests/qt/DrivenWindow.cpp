// The window program as it starts for a user (its main), driven from inside once its window shows.
// With TERVAN_DRIVE=report it tells which port the port list holds selected and which ports it
// lists, then ends. Otherwise it asks to set the manufacturer to "测试", answers every box and
// ends; the boxes go to standard output as "caption: text" lines, and when the toolkit starts,
// the change a toolkit may make where the system lacks the user's locale is played in full:
// LC_CTYPE becomes C.UTF-8 in the process and in its environment.
#include "app/qt/TervanApp.h"
#include "app/qt/TervanDlg.h"
#include "form/ControlIds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using tervan::CTervanDlg;
namespace Ctl = tervan::Ctl;

const bool g_report =
    std::getenv("TERVAN_DRIVE") && std::strcmp(std::getenv("TERVAN_DRIVE"), "report") == 0;

CTervanDlg* MainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = dynamic_cast<CTervanDlg*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

void Report(CTervanDlg* dialog) {
    const auto* ports = qobject_cast<QComboBox*>(dialog->Control(Ctl::PortList));
    QStringList items;
    for (int i = 0; i < ports->count(); ++i) {
        items << ports->itemText(i);
    }
    std::printf("selected: %s\nitems: %s\n", qPrintable(ports->currentText()),
                qPrintable(items.join(QLatin1Char('|'))));
    std::fflush(stdout);
    dialog->EndWhenIdle();
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
    if (g_report) {
        Report(dialog);
        return;
    }
    qobject_cast<QAbstractButton*>(dialog->Control(Ctl::ManufacturerCheck))->click();
    qobject_cast<QLineEdit*>(dialog->Control(Ctl::Manufacturer))->setText(QStringLiteral("测试"));
    // Outside this timer's call, which must go on answering the boxes meanwhile.
    QTimer::singleShot(0, dialog, [dialog] {
        qobject_cast<QAbstractButton*>(dialog->Control(Ctl::Set))->click();
        dialog->EndWhenIdle();
    });
}

void AtToolkitStart() {
    if (!g_report) {
        setenv("LC_CTYPE", "C.UTF-8", 1);
        std::setlocale(LC_CTYPE, "C.UTF-8");
    }
    auto* timer = new QTimer(QCoreApplication::instance()); // the application deletes it
    QObject::connect(timer, &QTimer::timeout, &Drive);
    timer->start(20);
}

} // namespace

int main(int argc, char** argv) {
    qAddPreRoutine(&AtToolkitStart);
    return tervan::RunTervan(argc, argv);
}
