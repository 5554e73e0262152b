#include "app/qt/TervanApp.h"

#include "app/qt/AppIcon.h"
#include "app/qt/DialogHost.h"
#include "app/qt/StopSignalsQt.h"
#include "app/qt/TervanDlg.h"
#include "base/Version.h"
#include "form/FormState.h"
#include "link/StandardDescriptors.h"
#include "sim/VirtualPrinter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

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

// A virtual printer inside the program, so that every button can be tried without hardware. What
// it makes of the bytes goes to standard error, one line per command.
std::unique_ptr<sim::VirtualPrinter> StartDemoPrinter() {
    sim::VirtualPrinterOptions options;
    options.onLine = [](const std::string& line) {
        std::fprintf(stderr, "printer: %s\n", line.c_str());
    };
    auto printer = std::make_unique<sim::VirtualPrinter>(std::move(options));
    if (!printer->Start()) {
        return nullptr;
    }
    std::fprintf(stderr, "tervan: a virtual printer listens on %s (selected in the port list)\n",
                 printer->SlavePath().c_str());
    return printer;
}

// Answered before the toolkit starts, since the toolkit ends the program where there is no display.
bool AsksForVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

CTervanApp::CTervanApp() : m_codePage(SystemAnsiCodePage()) {}

int CTervanApp::InitInstance(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configures receipt printers."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Put PATH first in the port list, selected."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Render the window into FILE and end."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Start a virtual printer on a pseudo-terminal and select it; what it "
                       "receives is written to standard error."));
    parser.addOption(port);
    parser.addOption(screenshot);
    parser.addOption(demo);
    parser.process(arguments);

    std::string givenPort = parser.value(port).toStdString();
    // Declared before the window, so that it outlives the window's link to it.
    std::unique_ptr<sim::VirtualPrinter> printer;
    if (parser.isSet(demo)) {
        printer = StartDemoPrinter();
        if (!printer) {
            std::fprintf(stderr, "tervan: no pseudo-terminal for the virtual printer\n");
            return 1;
        }
        givenPort = printer->SlavePath();
    }

    QApplication::setWindowIcon(AppIcon());
    CQtDialogHost host;
    CTervanDlg dialog(host, OpeningFormState(givenPort, m_codePage));
    if (parser.isSet(screenshot)) {
        return SaveScreenshot(dialog, parser.value(screenshot));
    }
    // The dialog's result does not matter: closing it, however, ends the program.
    return ExecStoppable(dialog);
}

int RunTervan(int& argc, char** argv) {
    // Before anything opens a file: the printer's port must never take the number of stderr.
    EnsureStandardDescriptors();
    if (AsksForVersion(argc, argv)) {
        std::printf("tervan %s\n", TERVAN_VERSION);
        return 0;
    }
    CTervanApp app; // before the toolkit, which may change the locale
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tervan"));
    QApplication::setApplicationVersion(QStringLiteral(TERVAN_VERSION));
    // Qt's own texts (the file dialog, the boxes' buttons) in the user's language, where the
    // system has Qt's translations.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
    return app.InitInstance(QApplication::arguments());
}

} // namespace tervan
