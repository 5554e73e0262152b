#pragma once

#include <QStringList>

namespace tervan {

// Starts the program: reads the command line, runs the main window modally, and ends the
// program when it closes (Enter and Esc included). SIGINT, SIGTERM and SIGHUP close it too, once
// the running operation has stopped and closed the link; the status is then 128 + the signal.
class CTervanApp {
public:
    // `--port PATH` puts PATH first in the port list; `--demo` puts a virtual printer there
    // instead; `--screenshot FILE.png` renders the window into FILE.png and ends. Returns the exit
    // status.
    int InitInstance(const QStringList& arguments);
};

} // namespace tervan
