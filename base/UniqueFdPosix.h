#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace tervan {

// Owns one POSIX file descriptor; -1 stands for "none". Closing happens exactly once, when the
// holder is reset or goes out of scope.
class UniqueFd {
public:
    static constexpr int kNone = -1;

    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    ~UniqueFd() { Reset(); }

    UniqueFd(UniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, kNone)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_fd, kNone));
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int Get() const { return m_fd; }
    bool IsNull() const { return m_fd == kNone; }

    void Reset(int fd = kNone) {
        if (m_fd != kNone) {
            ::close(m_fd);
        }
        m_fd = fd;
    }

private:
    int m_fd = kNone;
};

// Reads and writes on `fd` return at once rather than block, and programs started later do not
// inherit it. False when the system refuses either.
inline bool MakeNonBlocking(int fd) {
    const int status = ::fcntl(fd, F_GETFL);
    const int descriptor = ::fcntl(fd, F_GETFD);
    return status >= 0 && descriptor >= 0 && ::fcntl(fd, F_SETFL, status | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, descriptor | FD_CLOEXEC) == 0;
}

} // namespace tervan
