#include "app/qt/TervanApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tervan"));
    tervan::CTervanApp app;
    return app.InitInstance(QApplication::arguments());
}
