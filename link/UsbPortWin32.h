#pragma once

#include "base/UniqueHandleWin32.h"

#include <optional>
#include <string>

namespace tervan {

// The device path of the first printer among the present USB device interfaces, as the system
// lists it; empty when there is none.
std::optional<std::string> UsbPrinterDevicePath();

// What the Win32 binding keeps of an open printer; CUSBPort holds it.
class UsbPortBinding {
public:
    // Opens the device by the path that names it ("\\.\usb#vid_0483&pid_5720#..." as the search
    // finds it), in UTF-8; false leaves the link closed.
    bool OpenDevice(const std::string& path);

protected:
    UniqueHandle m_hDevice; // null while closed
    UniqueHandle m_ioDone;  // signalled when a transfer ends; made with the handle
};

} // namespace tervan
