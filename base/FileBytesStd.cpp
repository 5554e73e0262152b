#include "base/FileBytes.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace tervan {

// Without POSIX descriptors: the type is looked up by name first, so nothing but a regular file
// is ever opened.
FileReadOutcome ReadFileStart(const std::filesystem::path& path, std::size_t limit, Bytes& out) {
    out.clear();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status) || std::filesystem::is_directory(status)) {
        return FileReadOutcome::OpenFailed;
    }
    if (!std::filesystem::is_regular_file(status)) {
        return FileReadOutcome::NotRegular;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return FileReadOutcome::OpenFailed;
    }
    // Sized from the file, not the limit, so a large limit costs nothing for a small file; grown
    // if the file grows while it is read.
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    out.resize(error ? std::min<std::size_t>(limit, 65536)
                     : static_cast<std::size_t>(std::min<std::uintmax_t>(limit, size + 1)));
    std::size_t got = 0;
    while (got < limit) {
        if (got == out.size()) {
            out.resize(std::min(limit, 2 * got));
        }
        in.read(reinterpret_cast<char*>(out.data() + got),
                static_cast<std::streamsize>(out.size() - got));
        if (in.bad()) {
            out.clear();
            return FileReadOutcome::ReadFailed;
        }
        got += static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0));
        if (in.eof()) {
            break;
        }
    }
    out.resize(got);
    return FileReadOutcome::Read;
}

} // namespace tervan
