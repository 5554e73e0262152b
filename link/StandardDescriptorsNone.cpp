#include "link/StandardDescriptors.h"

namespace tervan {

// Where a closed standard handle cannot be handed on to a port, there is nothing to mend.
void EnsureStandardDescriptors() {}

} // namespace tervan
