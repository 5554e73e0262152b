#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace tervan::cli {

// `tervan-cli logo convert IN OUT.bmp`: a picture to a 1-bit BMP logo, and a PNG preview of its
// dots. Returns -1 when the command was not given.
std::function<int()> AddConvertCommand(CLI::App& logo);

} // namespace tervan::cli
