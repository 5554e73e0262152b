#include "cli/ProgressBar.h"

#include <string>

namespace tervan::cli {

namespace {

constexpr std::size_t kWidth = 30;
constexpr std::chrono::milliseconds kRedrawEvery{100};

} // namespace

ProgressBar::ProgressBar(std::ostream& out)
    : m_out(out), m_start(std::chrono::steady_clock::now()) {}

ProgressBar::~ProgressBar() {
    if (m_drawn) {
        m_out << '\n' << std::flush;
    }
}

void ProgressBar::Break() {
    if (m_drawn) {
        m_out << '\n' << std::flush;
        m_drawn = false;
    }
}

void ProgressBar::Update(std::size_t done, std::size_t total, std::size_t bytes) {
    const auto now = std::chrono::steady_clock::now();
    // A redraw per row would cost more than the row itself on a fast link.
    if (m_drawn && done < total && now - m_lastDraw < kRedrawEvery) {
        return;
    }
    m_lastDraw = now;
    m_drawn = true;
    const std::size_t filled = total == 0 ? kWidth : done * kWidth / total;
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    const auto rate = seconds > 0 ? static_cast<std::size_t>(static_cast<double>(bytes) / seconds)
                                  : std::size_t{0};
    m_out << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '-') << "] " << done
          << '/' << total << " rows  " << rate << " B/s " << std::flush;
}

} // namespace tervan::cli
