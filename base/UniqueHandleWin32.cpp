#include "base/UniqueHandleWin32.h"

#include <windows.h>

namespace tervan {

void UniqueHandle::Reset(Native handle) {
    if (m_handle != nullptr) {
        ::CloseHandle(m_handle);
    }
    m_handle = IsNone(handle) ? nullptr : handle;
}

} // namespace tervan
