#include "link/FdIoPosix.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0 // where it is missing, the socket carries SO_NOSIGPIPE instead
#endif

namespace tervan {

namespace {

IoStep StepOf(ssize_t n) {
    if (n > 0) {
        return {IoTry::Moved, static_cast<std::size_t>(n)};
    }
    if (n == 0) {
        return {IoTry::Closed, 0};
    }
    switch (errno) {
    case EINTR:
        return {IoTry::Interrupted, 0};
    case EAGAIN:
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
        return {IoTry::WouldBlock, 0};
    case EPIPE:
    case ECONNRESET:
    case ENOTCONN:
    case EIO:
        return {IoTry::Closed, 0};
    default:
        return {IoTry::Failed, 0};
    }
}

} // namespace

NonBlockingIo FdIo(int fd, bool socket) {
    NonBlockingIo io;
    io.writeSome = [fd, socket](std::span<const std::uint8_t> bytes) {
        const ssize_t n = socket ? ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL)
                                 : ::write(fd, bytes.data(), bytes.size());
        // A write that took nothing leaves the bytes to the wait for room.
        return n == 0 ? IoStep{IoTry::WouldBlock, 0} : StepOf(n);
    };
    io.readSome = [fd](std::span<std::uint8_t> buffer) {
        return StepOf(::read(fd, buffer.data(), buffer.size()));
    };
    io.wait = [fd](bool forWrite, int ms) {
        const short wanted = forWrite ? POLLOUT : POLLIN;
        pollfd p{fd, wanted, 0};
        const int ready = ::poll(&p, 1, ms);
        if (ready < 0) {
            return errno == EINTR ? IoWait::Interrupted : IoWait::Failed;
        }
        if (ready == 0) {
            return IoWait::TimedOut;
        }
        return (p.revents & wanted) != 0 ? IoWait::Ready : IoWait::Closed;
    };
    return io;
}

} // namespace tervan
