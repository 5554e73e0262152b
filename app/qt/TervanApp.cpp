#include "app/qt/TervanApp.h"

#include "app/qt/AppIcon.h"
#include "app/qt/DialogHost.h"
#include "app/qt/TervanDlg.h"
#include "form/FormState.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>

#include <cstdio>

namespace tervan {

namespace {

int SaveScreenshot(CTervanDlg& dialog, const QString& file) {
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().save(file, "PNG")) {
        std::fprintf(stderr, "tervan: cannot write the screenshot %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}

} // namespace

int CTervanApp::InitInstance(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configures receipt printers."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Put PATH first in the port list, selected."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window into FILE and end."),
                                        QStringLiteral("FILE"));
    parser.addOption(port);
    parser.addOption(screenshot);
    parser.process(arguments);

    QApplication::setWindowIcon(AppIcon());
    CQtDialogHost host;
    CTervanDlg dialog(host, OpeningFormState(parser.value(port).toStdString()));
    if (parser.isSet(screenshot)) {
        return SaveScreenshot(dialog, parser.value(screenshot));
    }
    // The dialog's result does not matter: closing it, however, ends the program.
    dialog.exec();
    return 0;
}

} // namespace tervan
