#include "app/qt/TervanApp.h"
#include "link/StandardDescriptors.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Before anything opens a file: the printer's port must never take the number of stderr.
    tervan::EnsureStandardDescriptors();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tervan"));
    tervan::CTervanApp app;
    return app.InitInstance(QApplication::arguments());
}
