#pragma once

#include <optional>
#include <string>

namespace tervan {

// Who may open a device file, as `ls -l` shows it: a port the user may not open is explained
// with these rather than with a guess.
struct PortAccess {
    std::string owner; // the user's name, or its number where it has none
    std::string group; // likewise
    unsigned mode = 0; // the permission bits, such as 0660

    bool Known() const { return !owner.empty(); }

    bool operator==(const PortAccess&) const = default;
};

// Nothing where the system keeps no such owner and mode, or the path cannot be examined.
std::optional<PortAccess> ReadPortAccess(const std::string& path);

} // namespace tervan
