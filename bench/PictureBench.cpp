#include "base/FileBytes.h"
#include "bitmap/Picture.h"
#include "bitmap/PictureConversion.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

// The picture path on the photo `make bench` makes (TERVAN_BENCH_PHOTO): decoding it, and what a
// preview does on every change of the user's choices, a new width or dither on the picture
// already decoded.
namespace {

using namespace tervan;

const Bytes& PhotoFile() {
    static const Bytes s_file = [] {
        Bytes file;
        const char* path = std::getenv("TERVAN_BENCH_PHOTO");
        if (path != nullptr) {
            ReadFileStart(path, kMaxPictureFileSize, file);
        }
        return file;
    }();
    return s_file;
}

const GreyPicture& Photo() {
    static const GreyPicture s_photo = DecodePicture(PhotoFile()).picture;
    return s_photo;
}

bool HavePhoto(benchmark::State& state) {
    if (Photo().levels.empty()) {
        state.SkipWithError("set TERVAN_BENCH_PHOTO to a picture (make bench makes one)");
        return false;
    }
    return true;
}

void DecodePhoto(benchmark::State& state) {
    if (!HavePhoto(state)) {
        return;
    }
    for (auto _ : state) {
        PictureResult result = DecodePicture(PhotoFile());
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(std::to_string(Photo().width) + " x " + std::to_string(Photo().height));
}
BENCHMARK(DecodePhoto)->Unit(benchmark::kMillisecond);

// Arguments: the width in dots, the dither method.
void RefitAndDither(benchmark::State& state) {
    if (!HavePhoto(state)) {
        return;
    }
    ConvertOptions options;
    options.fit.width = static_cast<int>(state.range(0));
    options.dither.method = static_cast<DitherMethod>(state.range(1));
    for (auto _ : state) {
        ConvertResult result = ConvertPicture(Photo(), options);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(RefitAndDither)
    ->ArgNames({"dots", "method"})
    ->Args({576, static_cast<int>(DitherMethod::FloydSteinberg)})
    ->Args({384, static_cast<int>(DitherMethod::FloydSteinberg)})
    ->Args({640, static_cast<int>(DitherMethod::Atkinson)})
    ->Args({576, static_cast<int>(DitherMethod::Ordered)})
    ->Args({576, static_cast<int>(DitherMethod::Threshold)})
    ->Unit(benchmark::kMillisecond);

} // namespace
