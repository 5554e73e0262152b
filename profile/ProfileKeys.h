#pragma once

#include "profile/Profile.h"
#include "protocol/SettingTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The keys of a profile: one per setting of the table, named as its option, and a few more.
namespace tervan {

enum class ExtraKey {
    None,      // a setting of the table
    DotMatrix, // the font's dot-matrix items: the option that switches them, as in the form
    Port,      // the computer's side of the link, as the command line's link options
    Baud,
    Parity,
    DataBits,
};

struct ProfileKey {
    const Setting* setting = nullptr;
    ExtraKey extra = ExtraKey::None;
};

// The link's keys in the order a profile holds them.
inline constexpr std::array kLinkKeys{ExtraKey::Port, ExtraKey::Baud, ExtraKey::Parity,
                                      ExtraKey::DataBits};

std::string_view KeyName(ExtraKey key);
std::optional<ProfileKey> FindProfileKey(std::string_view name);
// "port, baud, ..., usb-mode": every key, for the message that refuses an unknown one.
std::string ProfileKeyNames();

// A link key's value, as the command line's link option takes it, into `link`; the refusal names
// the key as `name`.
std::optional<std::string> TakeLinkValue(ExtraKey key, std::string_view value, ProfileLink& link,
                                         std::string_view name);
// What `link` holds for `key`, as the command line's option spells it; none when it is absent.
std::optional<std::string> LinkValueText(ExtraKey key, const ProfileLink& link);

} // namespace tervan
