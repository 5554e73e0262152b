#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>

namespace tervan::cli {

// One line redrawn in place on a terminal: "[######------]  40/100 rows  960 B/s".
class ProgressBar {
public:
    explicit ProgressBar(std::ostream& out);
    ~ProgressBar(); // ends the line if anything was drawn

    void Update(std::size_t done, std::size_t total, std::size_t bytes);
    // Ends the line drawn so far, so that a message can follow on a line of its own; the next
    // Update draws the bar afresh below it.
    void Break();

private:
    std::ostream& m_out;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastDraw;
    bool m_drawn = false;
};

} // namespace tervan::cli
