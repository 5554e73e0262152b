#include "protocol/SettingLists.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tervan {

namespace {

constexpr std::array kSlotItems{ListItem{"0", ""}, ListItem{"1", ""}, ListItem{"2", ""},
                                ListItem{"3", ""}, ListItem{"4", ""}, ListItem{"5", ""},
                                ListItem{"6", ""}, ListItem{"7", ""}, ListItem{"8", ""}};
constexpr std::array kBaudItems{ListItem{"1200", ""},  ListItem{"2400", ""},  ListItem{"4800", ""},
                                ListItem{"9600", ""},  ListItem{"19200", ""}, ListItem{"38400", ""},
                                ListItem{"57600", ""}, ListItem{"115200", ""}};
constexpr std::array kParityItems{ListItem{"NONE", "none"}, ListItem{"ODD", "odd"},
                                  ListItem{"EVEN", "even"}};
constexpr std::array kDataBitsItems{ListItem{"7", ""}, ListItem{"8", ""}};
constexpr std::array kFlowItems{ListItem{"XON/XOFF", "xon-xoff"}, ListItem{"RTS/CTS", "rts-cts"}};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

namespace Lists {
const SettingList kBitmapSlot{"slots", "位图索引:", false, kSlotItems};
const SettingList kBaudRate{"baud-rates", "波特率:", false, kBaudItems};
const SettingList kParity{"parities", "校验:", false, kParityItems};
const SettingList kDataBits{"data-bits", "数据位:", false, kDataBitsItems};
const SettingList kFlowControl{"flow-control", "流控:", false, kFlowItems};
} // namespace Lists

std::optional<std::size_t> ResolveItemName(const SettingList& list, std::string_view value) {
    for (std::size_t n = 0; n < list.items.size(); ++n) {
        const ListItem& item = list.items[n];
        if ((!item.alias.empty() && EqualsIgnoringAsciiCase(item.alias, value)) ||
            EqualsIgnoringAsciiCase(item.text, value)) {
            return n;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ResolveItem(const SettingList& list, std::string_view value) {
    // Names first, so "72" is the 72 mm paper and "7" the seven data bits; numbers after.
    if (const auto n = ResolveItemName(list, value)) {
        return n;
    }
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (!value.empty() && error == std::errc{} && end == value.data() + value.size() &&
        number < list.items.size()) {
        return number;
    }
    return std::nullopt;
}

} // namespace tervan
