#include "bitmap/LogoSource.h"

#include "bitmap/BitmapFile.h"

namespace tervan {

bool TakesBmpPath(std::span<const std::uint8_t> fileStart) {
    const bool signature = fileStart.size() >= 2 && fileStart[0] == 'B' && fileStart[1] == 'M';
    return signature || LoadBitmapBytes(fileStart).Outcome() == LoadOutcome::Loaded;
}

} // namespace tervan
