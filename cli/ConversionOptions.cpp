#include "cli/ConversionOptions.h"

#include "cli/LinkOptions.h"

#include <charconv>

namespace tervan::cli {

namespace {

constexpr int kMaxWidth = 65535;
constexpr int kMaxLevel = 255;

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool Given(const ConversionInputs& inputs, const char* name) {
    return inputs.command != nullptr && inputs.command->count(name) > 0;
}

std::optional<DitherOptions> ParseDither(const std::string& text) {
    const std::string threshold = "threshold";
    if (text == "fs" || text == "floyd-steinberg") {
        return DitherOptions{.method = DitherMethod::FloydSteinberg};
    }
    if (text == "atkinson") {
        return DitherOptions{.method = DitherMethod::Atkinson};
    }
    if (text == "ordered" || text == "bayer") {
        return DitherOptions{.method = DitherMethod::Ordered};
    }
    if (text == threshold) {
        return DitherOptions{.method = DitherMethod::Threshold};
    }
    if (text.starts_with(threshold + "=")) {
        if (const auto level = WholeNumber(text.substr(threshold.size() + 1), 0, kMaxLevel)) {
            return DitherOptions{.method = DitherMethod::Threshold, .level = *level};
        }
    }
    return std::nullopt;
}

} // namespace

void AddConversionOptions(CLI::App& command, ConversionInputs& inputs) {
    inputs.command = &command;
    command.add_option("--width", inputs.width, "fit to N dots wide (1-65535)")->type_name("N");
    command
        .add_option("--paper", inputs.paper,
                    "fit to the paper: 58 (384 dots), 72 (576), 75 (600), 80 (640)")
        ->type_name("MM");
    command
        .add_option("--dither", inputs.dither,
                    "fs (Floyd-Steinberg, the default), atkinson, ordered (Bayer 8x8), "
                    "threshold (Otsu's level) or threshold=LEVEL (0-255: darker levels print)")
        ->type_name("METHOD");
    command.add_flag("--invert", inputs.invert, "swap the dots that print and those that do not");
    command.add_flag("--upscale", inputs.upscale,
                     "enlarge a narrower picture to the width as well");
}

bool ConversionAsked(const ConversionInputs& inputs) {
    for (const char* name : {"--width", "--paper", "--dither", "--invert", "--upscale"}) {
        if (Given(inputs, name)) {
            return true;
        }
    }
    return false;
}

std::optional<ConvertOptions> CheckConversionOptions(const ConversionInputs& inputs) {
    ConvertOptions options;
    const bool width = Given(inputs, "--width");
    const bool paper = Given(inputs, "--paper");
    if (width && paper) {
        PrintText("--width and --paper: give only one of them");
        return std::nullopt;
    }
    if (width) {
        options.fit.width = WholeNumber(inputs.width, 1, kMaxWidth);
        if (!options.fit.width) {
            PrintText("--width: '" + inputs.width + "' is not a whole number of dots from 1 to " +
                      std::to_string(kMaxWidth));
            return std::nullopt;
        }
    }
    if (paper) {
        const auto millimetres = WholeNumber(inputs.paper, 1, 1000);
        options.fit.width = millimetres ? PaperDots(*millimetres) : std::nullopt;
        if (!options.fit.width) {
            PrintText("--paper: '" + inputs.paper + "' is not one of 58, 72, 75, 80");
            return std::nullopt;
        }
    }
    options.fit.upscale = inputs.upscale;
    if (Given(inputs, "--dither")) {
        const auto dither = ParseDither(inputs.dither);
        if (!dither) {
            PrintText("--dither: '" + inputs.dither +
                      "' is not one of fs, atkinson, ordered, threshold, threshold=LEVEL with a "
                      "LEVEL from 0 to 255");
            return std::nullopt;
        }
        options.dither = *dither;
    }
    options.dither.invert = inputs.invert;
    return options;
}

// The argument is UTF-8; on Windows a narrow path would be read in the ANSI code page.
std::filesystem::path ArgumentPath(const std::string& argument) {
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
}

} // namespace tervan::cli
