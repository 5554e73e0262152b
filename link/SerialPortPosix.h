#pragma once

#include "base/UniqueFdPosix.h"

namespace tervan {

// What the termios binding keeps of an open serial port; CSerialPort holds it privately.
struct SerialPortBinding {
    UniqueFd m_hDevice; // the open port's descriptor; none while closed
};

} // namespace tervan
