#include "base/SignalPipe.h"

// A system without SIGINT, SIGTERM and SIGHUP: nothing to watch.
namespace tervan {

struct SignalPipe::State {};

SignalPipe::SignalPipe() = default;

SignalPipe::~SignalPipe() = default;

int SignalPipe::ReadEnd() const {
    return -1;
}

int SignalPipe::Error() const {
    return 0;
}

std::vector<int> SignalPipe::Take() {
    return {};
}

} // namespace tervan
