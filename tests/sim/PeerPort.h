#pragma once

#include "link/UniqueFdPosix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace tervan::sim::test {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The tool's end of the line, opened as the serial binding opens it: an exclusive advisory
// lock and exclusive use while open.
class PeerPort {
public:
    explicit PeerPort(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
        if (!m_fd.IsNull()) {
            m_locked = ::flock(m_fd.Get(), LOCK_EX | LOCK_NB) == 0;
            ::ioctl(m_fd.Get(), TIOCEXCL);
        }
    }
    ~PeerPort() {
        // Exclusive use outlives the descriptor while the printer keeps the line open.
        if (!m_fd.IsNull()) {
            ::ioctl(m_fd.Get(), TIOCNXCL);
        }
    }
    PeerPort(const PeerPort&) = delete;
    PeerPort& operator=(const PeerPort&) = delete;

    bool IsOpen() const { return !m_fd.IsNull(); }
    bool Locked() const { return m_locked; }
    int Fd() const { return m_fd.Get(); }

    bool Write(const Bytes& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd.Get(), bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

    struct Chunk {
        Bytes bytes;
        milliseconds at; // since the time given to ReadFor
    };

    // Every read that returns something within `window` after `since`, one chunk per read;
    // stops early once `enough` bytes (when not 0) have come.
    std::vector<Chunk> ReadFor(milliseconds window, std::size_t enough, Clock::time_point since) {
        std::vector<Chunk> chunks;
        std::size_t total = 0;
        const Clock::time_point end = since + window;
        while ((enough == 0 || total < enough) && Clock::now() < end) {
            const auto left = std::chrono::ceil<milliseconds>(end - Clock::now()).count();
            pollfd fd{m_fd.Get(), POLLIN, 0};
            if (::poll(&fd, 1, static_cast<int>(left)) <= 0 || (fd.revents & POLLIN) == 0) {
                break;
            }
            std::array<std::uint8_t, 256> buffer{};
            const ssize_t n = ::read(m_fd.Get(), buffer.data(), buffer.size());
            if (n <= 0) {
                break;
            }
            chunks.push_back({Bytes(buffer.begin(), buffer.begin() + n),
                              std::chrono::duration_cast<milliseconds>(Clock::now() - since)});
            total += static_cast<std::size_t>(n);
        }
        return chunks;
    }

    static Bytes Joined(const std::vector<Chunk>& chunks) {
        Bytes all;
        for (const Chunk& chunk : chunks) {
            all.insert(all.end(), chunk.bytes.begin(), chunk.bytes.end());
        }
        return all;
    }

private:
    UniqueFd m_fd;
    bool m_locked = false;
};

} // namespace tervan::sim::test
