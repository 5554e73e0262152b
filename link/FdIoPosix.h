#pragma once

#include "link/BoundedIo.h"

namespace tervan {

// The bounded loops' calls on a non-blocking descriptor: a terminal, or with `socket` a connected
// stream socket, which writes without raising SIGPIPE when the other end has gone.
NonBlockingIo FdIo(int fd, bool socket);

} // namespace tervan
