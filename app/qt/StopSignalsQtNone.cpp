#include "app/qt/StopSignalsQt.h"

// A system without SIGINT, SIGTERM and SIGHUP: nothing to watch.
namespace tervan {

struct CStopSignalWatch::State {};

CStopSignalWatch::CStopSignalWatch(std::function<void(int signal)> /*onSignal*/) {}

CStopSignalWatch::~CStopSignalWatch() = default;

} // namespace tervan
