#pragma once

#include "base/UniqueFdPosix.h"

#include <optional>
#include <string>

namespace tervan::sim {

// The printer's end of a pseudo-terminal pair: the master, which the printer reads and writes
// without blocking, and one slave descriptor kept open so that the master never sees a hang-up
// while no peer holds the slave.
class PseudoTerminal {
public:
    // A raw line (nothing echoed or translated); nothing when the system has no pair to give.
    static std::optional<PseudoTerminal> Open();

    int Master() const { return m_master.Get(); }
    const std::string& SlavePath() const { return m_slavePath; }
    bool IsOpen() const { return !m_master.IsNull(); }
    // Closes both ends the printer holds: a peer on the slave sees the line hang up.
    void Close();

private:
    UniqueFd m_master;
    UniqueFd m_slave;
    std::string m_slavePath;
};

} // namespace tervan::sim
