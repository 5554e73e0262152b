#pragma once

#include "bitmap/BitmapFile.h"
#include "protocol/Strings.h"

#include <optional>

namespace tervan {

// The text a front end shows for a load that failed; nullopt for Loaded, whose text depends on
// the download that follows.
std::optional<StringId> LoadMessage(LoadOutcome outcome);

} // namespace tervan
