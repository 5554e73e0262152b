#pragma once

#include "base/Bytes.h"

#include <cstddef>
#include <filesystem>

namespace tervan {

enum class FileReadOutcome {
    Read,       // up to the limit read (fewer bytes for a shorter file)
    OpenFailed, // missing, a directory, or not readable
    NotRegular, // a FIFO, a device, a socket: refused without reading, which could block
    ReadFailed,
};

// The first `limit` bytes of a regular file, into `out`.
FileReadOutcome ReadFileStart(const std::filesystem::path& path, std::size_t limit, Bytes& out);

} // namespace tervan
