#include "link/UsbInterfaceChoice.h"

#include <algorithm>

namespace tervan {

namespace {

std::optional<UsbEndpointInfo> FirstBulk(const UsbInterfaceInfo& interface,
                                         UsbDirection direction) {
    const auto found = std::find_if(interface.endpoints.begin(), interface.endpoints.end(),
                                    [direction](const UsbEndpointInfo& endpoint) {
                                        return endpoint.type == UsbTransferType::Bulk &&
                                               endpoint.direction == direction;
                                    });
    if (found == interface.endpoints.end()) {
        return std::nullopt;
    }
    return *found;
}

} // namespace

std::optional<UsbInterfaceChoice> ChooseUsbInterface(std::span<const UsbInterfaceInfo> interfaces) {
    for (const UsbInterfaceInfo& interface : interfaces) {
        if (const std::optional<UsbEndpointInfo> out = FirstBulk(interface, UsbDirection::Out)) {
            return UsbInterfaceChoice{interface.number, *out,
                                      FirstBulk(interface, UsbDirection::In)};
        }
    }
    return std::nullopt;
}

} // namespace tervan
