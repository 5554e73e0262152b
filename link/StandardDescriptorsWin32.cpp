#include "link/StandardDescriptors.h"

#include <fcntl.h>
#include <io.h>

namespace tervan {

// The C runtime's descriptors 0 to 2 may be unopened when the program starts without standard
// handles (from a service or a detached process); a file opened later would take their numbers,
// and messages for standard error would go to it.
void EnsureStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        const intptr_t handle = ::_get_osfhandle(fd);
        if (handle != -1 && handle != -2) {
            continue;
        }
        const int opened = ::_open("NUL", fd == 0 ? _O_RDONLY : _O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::_dup2(opened, fd);
            ::_close(opened);
        }
    }
}

} // namespace tervan
