#pragma once

#include "bitmap/BitmapFile.h"
#include "bitmap/Picture.h"
#include "bitmap/PictureConversion.h"
#include "cli/ConversionOptions.h"

#include <optional>
#include <string>

namespace tervan::cli {

// The rows `logo download` sends for FILE: a BMP (by its content) without conversion options
// exactly as the 1-bit loader reads it, anything else decoded and converted. nullopt once the
// refusal has been printed.
std::optional<LoadResult> LoadLogoInput(const std::string& file,
                                        const ConversionInputs& conversion);

// The picture in FILE converted, or nullopt once the refusal, naming the file, has been printed.
std::optional<LogoDots> ConvertPictureFile(const std::string& file, const ConvertOptions& options);

} // namespace tervan::cli
