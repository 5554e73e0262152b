#include "base/FileBytes.h"

#include "base/UniqueFdPosix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tervan {

FileReadOutcome ReadFileStart(const std::filesystem::path& path, std::size_t limit, Bytes& out) {
    out.clear();
    // Non-blocking, so that opening a FIFO with no writer returns at once; fstat then tells
    // what was opened before anything is read from it.
    const UniqueFd fd{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (fd.IsNull()) {
        return FileReadOutcome::OpenFailed;
    }
    struct stat status {};
    if (::fstat(fd.Get(), &status) != 0) {
        return FileReadOutcome::ReadFailed;
    }
    if (S_ISDIR(status.st_mode)) {
        return FileReadOutcome::OpenFailed;
    }
    if (!S_ISREG(status.st_mode)) {
        return FileReadOutcome::NotRegular;
    }
    // Sized from the file, not the limit, so a large limit costs nothing for a small file; grown
    // if the file grows while it is read.
    out.resize(std::min(limit, static_cast<std::size_t>(status.st_size) + 1));
    std::size_t got = 0;
    while (got < limit) {
        if (got == out.size()) {
            out.resize(std::min(limit, 2 * got));
        }
        const ssize_t n = ::read(fd.Get(), out.data() + got, out.size() - got);
        if (n > 0) {
            got += static_cast<std::size_t>(n);
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            out.clear();
            return FileReadOutcome::ReadFailed;
        }
    }
    out.resize(got);
    return FileReadOutcome::Read;
}

} // namespace tervan
