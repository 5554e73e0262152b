#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Which interface of the printer's active configuration the link claims, and which endpoints it
// talks through. Works on a plain description of the descriptors, so it needs no device.
namespace tervan {

enum class UsbDirection { Out, In };
enum class UsbTransferType { Control, Isochronous, Bulk, Interrupt };

struct UsbEndpointInfo {
    std::uint8_t address = 0;
    UsbDirection direction = UsbDirection::Out;
    UsbTransferType type = UsbTransferType::Bulk;
    std::uint16_t maxPacketSize = 0;
};

// One interface in its default alternate setting, the one in force right after claiming it.
struct UsbInterfaceInfo {
    std::uint8_t number = 0;
    std::vector<UsbEndpointInfo> endpoints;
};

struct UsbInterfaceChoice {
    std::uint8_t interfaceNumber = 0;
    UsbEndpointInfo out;
    std::optional<UsbEndpointInfo> in; // none: the printer cannot answer, reads return 0
};

// The first interface, in descriptor order, with a bulk OUT endpoint; its first bulk OUT endpoint
// carries the writes and its first bulk IN endpoint, if it has one, the replies. Empty when no
// interface has a bulk OUT endpoint.
std::optional<UsbInterfaceChoice> ChooseUsbInterface(std::span<const UsbInterfaceInfo> interfaces);

} // namespace tervan
