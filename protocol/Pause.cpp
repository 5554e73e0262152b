#include "protocol/Pause.h"

#include <thread>

namespace tervan {

void SleepPause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

} // namespace tervan
