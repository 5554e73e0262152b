#include "bitmap/FileBytes.h"

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
    out.resize(limit);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        out.clear();
        return FileReadOutcome::ReadFailed;
    }
    out.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return FileReadOutcome::Read;
}

} // namespace tervan
