#pragma once

#include "bitmap/BitmapFile.h"
#include "bitmap/Picture.h"
#include "bitmap/PictureConversion.h"
#include "bitmap/BitmapTransfer.h"
#include "protocol/Strings.h"

#include <optional>
#include <string>

namespace tervan {

// The text a front end shows for a load that failed; nullopt for Loaded, whose text depends on
// the download that follows.
std::optional<StringId> LoadMessage(LoadOutcome outcome);

// The text for a picture that was not decoded, its numbers filled in; empty for Decoded.
std::string PictureMessage(const PictureResult& result, Language language);

// The text for a conversion that did not succeed, its numbers filled in; empty for Converted.
std::string ConvertMessage(const ConvertResult& result, Language language);
// The verdict of a download, its slot filled in.
std::string DownloadText(const DownloadResult& result, Language language);

// What a stopped download shows while its blank rows go out, with the time they take once it is
// known: in seconds up to two minutes, in minutes beyond.
std::string FillingText(const DownloadProgress& progress, Language language);

} // namespace tervan
