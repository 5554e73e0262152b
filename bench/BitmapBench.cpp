#include "bitmap/BitmapFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Load and convert the largest logo the printer accepts: a declared size of exactly 64 KiB, 576
// dots wide (the widest paper), as many rows as fit.
namespace {

constexpr std::uint32_t kOffBits = 62;
constexpr std::int32_t kWidth = 576;
constexpr std::int32_t kStride = 72;
constexpr std::int32_t kRows = (tervan::kMaxBitmapFileSize - kOffBits) / kStride;

void PutLe32(tervan::Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

tervan::Bytes LargestFile() {
    tervan::Bytes file(tervan::kMaxBitmapFileSize, 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file, 2, tervan::kMaxBitmapFileSize);
    PutLe32(file, 10, kOffBits);
    PutLe32(file, 14, 40);
    PutLe32(file, 18, kWidth);
    PutLe32(file, 22, kRows);
    file[26] = 1;
    file[28] = 1;
    PutLe32(file, 58, 0x00FFFFFF); // palette: black, white
    for (std::size_t i = kOffBits; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(i * 37);
    }
    return file;
}

void LoadFromMemory(benchmark::State& state) {
    const tervan::Bytes file = LargestFile();
    for (auto _ : state) {
        tervan::LoadResult result = tervan::LoadBitmapBytes(file);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(LoadFromMemory);

void LoadFromFile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("tervan-bench-" + std::to_string(::getpid()) + ".bmp");
    const tervan::Bytes file = LargestFile();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    for (auto _ : state) {
        tervan::LoadResult result = tervan::LoadBitmapFile(path);
        if (result.Outcome() != tervan::LoadOutcome::Loaded) {
            state.SkipWithError("the file did not load");
            break;
        }
        benchmark::DoNotOptimize(result);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(LoadFromFile);

} // namespace
