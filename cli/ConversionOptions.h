#pragma once

#include "bitmap/PictureConversion.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <string>

namespace tervan::cli {

// The options that turn a picture into a logo: --width | --paper, --dither, --invert, --upscale.
struct ConversionInputs {
    std::string width;
    std::string paper;
    std::string dither;
    bool invert = false;
    bool upscale = false;
    CLI::App* command = nullptr;
};

void AddConversionOptions(CLI::App& command, ConversionInputs& inputs);

// Whether any of the options was given.
bool ConversionAsked(const ConversionInputs& inputs);

// The options in the core's terms, or nullopt after one line on stderr naming the wrong one.
std::optional<ConvertOptions> CheckConversionOptions(const ConversionInputs& inputs);

// A command-line argument as a path: UTF-8 on every system (Windows would read a narrow path in
// the ANSI code page).
std::filesystem::path ArgumentPath(const std::string& argument);

} // namespace tervan::cli
