#include "sim/ReplyPlan.h"

namespace tervan::sim {

std::vector<TimedReply> PlanReply(ReplyMode mode, std::chrono::milliseconds delay) {
    using std::chrono::milliseconds;
    switch (mode) {
    case ReplyMode::Ok:
        return {{milliseconds{0}, {'O', 'K'}}};
    case ReplyMode::Wrong:
        return {{milliseconds{0}, {'N', 'O'}}};
    case ReplyMode::Silent:
        return {};
    case ReplyMode::Split:
        return {{milliseconds{0}, {'O'}}, {milliseconds{100}, {'K'}}};
    case ReplyMode::Late:
        return {{delay < milliseconds{0} ? milliseconds{0} : delay, {'O', 'K'}}};
    }
    return {};
}

} // namespace tervan::sim
