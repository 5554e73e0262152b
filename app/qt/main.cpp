#include "app/qt/TervanApp.h"
#include "link/StandardDescriptors.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    // Before anything opens a file: the printer's port must never take the number of stderr.
    tervan::EnsureStandardDescriptors();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tervan"));
    // Qt's own texts (the file dialog, the boxes' buttons) in the user's language, where the
    // system has Qt's translations.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    tervan::CTervanApp app;
    return app.InitInstance(QApplication::arguments());
}
