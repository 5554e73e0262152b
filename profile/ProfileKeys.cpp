#include "profile/ProfileKeys.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace tervan {

namespace {

// The list of a line setting, and where the link keeps its index.
std::pair<const SettingList*, std::optional<std::uint8_t> ProfileLink::*> LineList(ExtraKey key) {
    switch (key) {
    case ExtraKey::Baud:
        return {&Lists::kBaudRate, &ProfileLink::baud};
    case ExtraKey::Parity:
        return {&Lists::kParity, &ProfileLink::parity};
    case ExtraKey::DataBits:
        return {&Lists::kDataBits, &ProfileLink::dataBits};
    default:
        return {nullptr, nullptr};
    }
}

bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

} // namespace

std::string_view KeyName(ExtraKey key) {
    switch (key) {
    case ExtraKey::DotMatrix:
        return SettingNamed("font").alternative;
    case ExtraKey::Port:
        return "port";
    case ExtraKey::Baud:
        return "baud";
    case ExtraKey::Parity:
        return "parity";
    case ExtraKey::DataBits:
        return "data-bits";
    case ExtraKey::None:
        break;
    }
    return {};
}

std::optional<ProfileKey> FindProfileKey(std::string_view name) {
    for (const Setting& setting : kSettingTable) {
        if (setting.name == name) {
            return ProfileKey{&setting};
        }
    }
    for (const ExtraKey key : {ExtraKey::DotMatrix, ExtraKey::Port, ExtraKey::Baud,
                               ExtraKey::Parity, ExtraKey::DataBits}) {
        if (KeyName(key) == name) {
            return ProfileKey{nullptr, key};
        }
    }
    return std::nullopt;
}

std::string ProfileKeyNames() {
    std::string names;
    for (const ExtraKey key : kLinkKeys) {
        names += std::string(KeyName(key)) + ", ";
    }
    for (const Setting& setting : kSettingTable) {
        if (setting.kind == SettingKind::Font) {
            names += std::string(KeyName(ExtraKey::DotMatrix)) + ", ";
        }
        names += std::string(setting.name) + (&setting == &kSettingTable.back() ? "" : ", ");
    }
    return names;
}

std::optional<std::string> TakeLinkValue(ExtraKey key, std::string_view value, ProfileLink& link,
                                         std::string_view name) {
    const std::string quoted = std::string(name) + ": '" + std::string(value) + "'";
    if (key == ExtraKey::Port) {
        if (value.empty() || std::ranges::any_of(value, IsControl)) {
            return quoted + " is not a port; give usb or a serial port";
        }
        link.port = std::string(value);
        return std::nullopt;
    }
    const auto [list, member] = LineList(key);
    if (list == nullptr) {
        return std::nullopt;
    }
    // By name: baud 3 is no baud rate, and data bits "7" are seven. A parity may be its first
    // letter, as the command line's --parity takes it.
    std::string_view spelled = value;
    for (const ListItem& item : list->items) {
        if (key == ExtraKey::Parity && value.size() == 1 &&
            std::tolower(static_cast<unsigned char>(value[0])) == ItemSpelling(item)[0]) {
            spelled = ItemSpelling(item);
        }
    }
    const auto n = ResolveItemName(*list, spelled);
    if (!n) {
        std::string names;
        for (const ListItem& item : list->items) {
            names += (names.empty() ? "" : ", ") + std::string(ItemSpelling(item));
        }
        return quoted + " is not one of " + names;
    }
    link.*member = static_cast<std::uint8_t>(*n);
    return std::nullopt;
}

std::optional<std::string> LinkValueText(ExtraKey key, const ProfileLink& link) {
    if (key == ExtraKey::Port) {
        return link.port;
    }
    const auto [list, member] = LineList(key);
    if (list == nullptr || !(link.*member)) {
        return std::nullopt;
    }
    const std::size_t n = std::min<std::size_t>(*(link.*member), list->items.size() - 1);
    return std::string(ItemSpelling(list->items[n]));
}

} // namespace tervan
