#pragma once

#include "protocol/ToAnsi.h"

#include <QStringList>

namespace tervan {

// Starts the program: reads the command line, runs the main window modally, and ends the
// program when it closes (Enter and Esc included). SIGINT, SIGTERM and SIGHUP close it too, once
// the running operation has stopped and closed the link; the status is then 128 + the signal.
class CTervanApp {
public:
    // Made before the toolkit starts. The toolkit replaces a locale the system lacks with one of
    // its own, so the printer's code page is taken from the user's environment here, as the
    // command line takes it.
    CTervanApp();

    // `--port PATH` puts PATH first in the port list; `--demo` puts a virtual printer there
    // instead; `--screenshot FILE.png` renders the window into FILE.png and ends. Returns the exit
    // status.
    int InitInstance(const QStringList& arguments);

private:
    AnsiCodePage m_codePage;
};

// The whole program, from its arguments to its exit status; main() only calls it.
int RunTervan(int& argc, char** argv);

} // namespace tervan
