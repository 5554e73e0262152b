#include "bitmap/BitmapFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Feeds arbitrary bytes to the loader, checks the shape of what it returns, and checks that the
// file reader reaches the same verdict as the in-memory loader for the same bytes.
namespace {

using tervan::LoadOutcome;
using tervan::LoadResult;

void Check(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// One scratch file per fuzzing process, removed when it exits.
class ScratchFile {
public:
    ScratchFile()
        : m_path(std::filesystem::temp_directory_path() /
                 ("tervan-bmp-fuzz-" + std::to_string(::getpid()) + ".bmp")) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& Hold(const std::uint8_t* data, std::size_t size) const {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return m_path;
    }

private:
    std::filesystem::path m_path;
};

void CheckShape(const LoadResult& result) {
    Check((result.Rows() != nullptr) == (result.Outcome() == LoadOutcome::Loaded),
          "rows iff loaded");
    if (result.Rows() == nullptr) {
        return;
    }
    const tervan::BitmapRows& rows = *result.Rows();
    Check(rows.stride > 0 && rows.stride % 4 == 0 && rows.stride <= 0xFFFF, "stride");
    Check(rows.height > 0, "height");
    Check(rows.pixels.size() ==
              static_cast<std::size_t>(rows.stride) * static_cast<std::size_t>(rows.height),
          "buffer holds the rows exactly");
    Check(rows.pixels.size() <= tervan::kMaxBitmapFileSize, "no more than the declared size");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile g_scratch;
    const LoadResult fromBytes = tervan::LoadBitmapBytes(std::span(data, size));
    CheckShape(fromBytes);

    const LoadResult fromFile = tervan::LoadBitmapFile(g_scratch.Hold(data, size));
    Check(fromFile.Outcome() == fromBytes.Outcome(), "file and bytes give the same outcome");
    Check(fromBytes.Rows() == nullptr || fromFile.Rows()->pixels == fromBytes.Rows()->pixels,
          "file and bytes give the same rows");
    return 0;
}
