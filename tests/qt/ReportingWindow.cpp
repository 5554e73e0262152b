// The window program as it starts for a user (its main), reporting from inside, once its window
// shows, which port the port list holds selected and which ports it lists, then ending.
#include "app/qt/TervanApp.h"
#include "app/qt/TervanDlg.h"
#include "form/ControlIds.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <cstdio>

namespace {

using tervan::CTervanDlg;

void Report() {
    static bool reported = false;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = dynamic_cast<CTervanDlg*>(widget);
        if (reported || dialog == nullptr || !dialog->isVisible()) {
            continue;
        }
        reported = true;
        const auto* ports = qobject_cast<QComboBox*>(dialog->Control(tervan::Ctl::PortList));
        QStringList items;
        for (int i = 0; i < ports->count(); ++i) {
            items << ports->itemText(i);
        }
        std::printf("selected: %s\nitems: %s\n", qPrintable(ports->currentText()),
                    qPrintable(items.join(QLatin1Char('|'))));
        std::fflush(stdout);
        dialog->EndWhenIdle();
    }
}

void AtToolkitStart() {
    auto* timer = new QTimer(QCoreApplication::instance()); // the application deletes it
    QObject::connect(timer, &QTimer::timeout, &Report);
    timer->start(20);
}

} // namespace

int main(int argc, char** argv) {
    qAddPreRoutine(&AtToolkitStart);
    return tervan::RunTervan(argc, argv);
}
