#pragma once

#include "base/UniqueHandleWin32.h"

namespace tervan {

// What the Win32 binding keeps of an open serial port; CSerialPort holds it privately.
struct SerialPortBinding {
    UniqueHandle m_hDevice; // the open port; null while closed
    UniqueHandle m_ioDone;  // signalled when a transfer ends; made with the handle
};

} // namespace tervan
