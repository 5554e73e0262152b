#include "link/UsbInterfaceChoice.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tervan {
namespace {

using D = UsbDirection;
using T = UsbTransferType;

struct Expected {
    std::uint8_t interfaceNumber;
    std::uint8_t out;
    std::optional<std::uint8_t> in;
};

TEST(UsbInterfaceChoice, ClaimsTheFirstInterfaceWithBulkOut) {
    const struct {
        const char* name;
        std::vector<UsbInterfaceInfo> interfaces;
        std::optional<Expected> expected;
    } layouts[] = {
        {"PrinterClass",
         {{0, {{0x01, D::Out, T::Bulk, 64}, {0x82, D::In, T::Bulk, 64}}}},
         Expected{0, 0x01, 0x82}},
        {"PrinterClassInListedFirst",
         {{0, {{0x81, D::In, T::Bulk, 64}, {0x02, D::Out, T::Bulk, 64}}}},
         Expected{0, 0x02, 0x81}},
        // Communication interface with its notification endpoint, then the data interface.
        {"CdcDataInterfaceWins",
         {{0, {{0x83, D::In, T::Interrupt, 8}}},
          {1, {{0x02, D::Out, T::Bulk, 64}, {0x81, D::In, T::Bulk, 64}}}},
         Expected{1, 0x02, 0x81}},
        {"OutOnly", {{0, {{0x01, D::Out, T::Bulk, 64}}}}, Expected{0, 0x01, std::nullopt}},
        // An IN endpoint of another interface cannot answer through the claimed one.
        {"InOnAnotherInterface",
         {{0, {{0x81, D::In, T::Bulk, 64}}}, {3, {{0x02, D::Out, T::Bulk, 64}}}},
         Expected{3, 0x02, std::nullopt}},
        {"InterruptInDoesNotAnswer",
         {{0, {{0x01, D::Out, T::Bulk, 64}, {0x81, D::In, T::Interrupt, 8}}}},
         Expected{0, 0x01, std::nullopt}},
        {"FirstOfSeveralBulkInterfaces",
         {{0, {{0x01, D::Out, T::Bulk, 64}, {0x81, D::In, T::Bulk, 64}}},
          {1, {{0x02, D::Out, T::Bulk, 64}, {0x82, D::In, T::Bulk, 64}}}},
         Expected{0, 0x01, 0x81}},
        {"NoBulkOut",
         {{0, {{0x81, D::In, T::Bulk, 64}, {0x02, D::Out, T::Interrupt, 8}}},
          {1, {{0x03, D::Out, T::Isochronous, 192}}}},
         std::nullopt},
        {"NoInterfaces", {}, std::nullopt}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const std::optional<UsbInterfaceChoice> choice = ChooseUsbInterface(layout.interfaces);
        ASSERT_EQ(choice.has_value(), layout.expected.has_value());
        if (!choice) {
            continue;
        }
        EXPECT_EQ(choice->interfaceNumber, layout.expected->interfaceNumber);
        EXPECT_EQ(choice->out.address, layout.expected->out);
        ASSERT_EQ(choice->in.has_value(), layout.expected->in.has_value());
        if (choice->in) {
            EXPECT_EQ(choice->in->address, *layout.expected->in);
            EXPECT_EQ(choice->in->maxPacketSize, 64);
        }
    }
}

} // namespace
} // namespace tervan
