#pragma once

#include "bitmap/PictureConversion.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace tervan {

// Converts one decoded picture on a thread of its own, again for each new set of options, so a
// window stays responsive however long a conversion takes. Only the latest options asked for
// count: a result for older ones is dropped.
class BackgroundConversion {
public:
    // `picture` must outlive this.
    explicit BackgroundConversion(const GreyPicture& picture);
    ~BackgroundConversion(); // stops the thread once its conversion, if any, has finished
    BackgroundConversion(const BackgroundConversion&) = delete;
    BackgroundConversion& operator=(const BackgroundConversion&) = delete;

    void Ask(const ConvertOptions& options);
    // The result for the latest options once it is there, waiting for it at most `wait`; each
    // result is handed out once.
    std::optional<ConvertResult> Take(std::chrono::milliseconds wait = {});
    // Called on the conversion's thread whenever a result is there to take; called at once when
    // one is there already. An empty function calls nothing from then on.
    void SetDone(std::function<void()> done);

private:
    void Run(const std::stop_token& stop);
    bool Ready() const { return m_result && m_resultFor == m_asked; }

    const GreyPicture& m_picture;
    std::mutex m_lock;
    std::condition_variable_any m_changed;
    std::optional<ConvertOptions> m_options; // asked for and not yet taken up by the thread
    std::uint64_t m_asked = 0;               // how many times options were asked for
    std::optional<ConvertResult> m_result;
    std::uint64_t m_resultFor = 0;
    std::function<void()> m_done;
    std::jthread m_thread; // last: it starts once the rest is there, and is stopped first
};

} // namespace tervan
