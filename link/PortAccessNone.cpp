#include "link/PortAccess.h"

namespace tervan {

// Windows grants a port to whoever opens it first; there is no owner or mode to name.
std::optional<PortAccess> ReadPortAccess(const std::string&) {
    return std::nullopt;
}

} // namespace tervan
