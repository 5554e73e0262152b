#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tervan::test {

// A bare-bones printer on a pseudo-terminal, independent of the project's virtual printer: it
// records what it receives and answers each 1B 06 with "OK" (at once, split over two writes, or
// not at all).
class PtyPeer {
public:
    enum class Reply { Ok, Split, Silent };

    explicit PtyPeer(Reply reply) : m_reply(reply) {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(m_master);
        unlockpt(m_master);
        m_path = ptsname(m_master);
        // Held open so the master never sees a hang-up between the peer's opens.
        m_slave = open(m_path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        tcgetattr(m_slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(m_slave, TCSANOW, &raw);
        m_thread = std::thread([this] { Serve(); });
    }
    ~PtyPeer() {
        m_stop = true;
        m_thread.join();
        close(m_slave);
        close(m_master);
    }

    const std::string& Path() const { return m_path; }
    // What arrived, once `count` bytes have or the wait runs out.
    std::vector<std::uint8_t> Received(std::size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                if (m_received.size() >= count || std::chrono::steady_clock::now() > deadline) {
                    return m_received;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

private:
    void Serve() {
        while (!m_stop) {
            pollfd fd{m_master, POLLIN, 0};
            if (poll(&fd, 1, 20) <= 0 || (fd.revents & POLLIN) == 0) {
                continue;
            }
            std::uint8_t buffer[256];
            const ssize_t n = read(m_master, buffer, sizeof buffer);
            for (ssize_t i = 0; i < n; ++i) {
                std::lock_guard lock(m_mutex);
                m_received.push_back(buffer[i]);
                const std::size_t size = m_received.size();
                if (size >= 2 && m_received[size - 2] == 0x1B && m_received[size - 1] == 0x06) {
                    Answer();
                }
            }
        }
    }
    void Answer() {
        if (m_reply == Reply::Ok) {
            (void)!write(m_master, "OK", 2);
        } else if (m_reply == Reply::Split) {
            (void)!write(m_master, "O", 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            (void)!write(m_master, "K", 1);
        }
    }

    Reply m_reply;
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<std::uint8_t> m_received;
    std::thread m_thread;
};

} // namespace tervan::test
