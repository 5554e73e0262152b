#include "form/BackgroundConversion.h"

#include <utility>

namespace tervan {

BackgroundConversion::BackgroundConversion(const GreyPicture& picture)
    : m_picture(picture), m_thread([this](const std::stop_token& stop) { Run(stop); }) {}

BackgroundConversion::~BackgroundConversion() {
    m_thread.request_stop();
    m_thread.join(); // before the members it uses go
}

void BackgroundConversion::Ask(const ConvertOptions& options) {
    {
        const std::lock_guard lock(m_lock);
        m_options = options;
        ++m_asked;
        m_result.reset();
    }
    m_changed.notify_all();
}

std::optional<ConvertResult> BackgroundConversion::Take(std::chrono::milliseconds wait) {
    std::unique_lock lock(m_lock);
    m_changed.wait_for(lock, wait, [this] { return Ready(); });
    if (!Ready()) {
        return std::nullopt;
    }
    std::optional<ConvertResult> result;
    result.swap(m_result);
    return result;
}

void BackgroundConversion::SetDone(std::function<void()> done) {
    const std::lock_guard lock(m_lock);
    m_done = std::move(done);
    if (m_done && Ready()) {
        m_done();
    }
}

void BackgroundConversion::Run(const std::stop_token& stop) {
    std::unique_lock lock(m_lock);
    while (m_changed.wait(lock, stop, [this] { return m_options.has_value(); })) {
        const ConvertOptions options = *std::exchange(m_options, std::nullopt);
        const std::uint64_t asked = m_asked;
        lock.unlock();
        ConvertResult result = ConvertPicture(m_picture, options);
        lock.lock();
        if (asked == m_asked) {
            m_result = std::move(result);
            m_resultFor = asked;
            m_changed.notify_all();
            // Under the lock, so a window that takes the function back is never called after.
            if (m_done) {
                m_done();
            }
        }
    }
}

} // namespace tervan
