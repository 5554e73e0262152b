#pragma once

#include "base/Bytes.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tervan::test {

// A fresh directory for one test, removed with everything in it when the test ends. Tests run
// as separate processes in parallel, so the name carries the process id.
class TempDir {
public:
    TempDir() {
        static int g_count = 0;
        m_path = std::filesystem::temp_directory_path() /
                 ("tervan-test-" + std::to_string(::getpid()) + "-" + std::to_string(++g_count));
        std::filesystem::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path Write(const std::string& name, const Bytes& bytes) const {
        const auto path = m_path / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace tervan::test
