#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

// A list of the form with its items: the window fills its lists from these and the command line
// resolves names and numbers against the same data. The settings' own lists are in SettingTable.h.
namespace tervan {

// Row 0 of every optional setting list.
inline constexpr std::string_view kNoChange = "不改变";

struct ListItem {
    std::string_view text;  // as the form shows it
    std::string_view alias; // the command line's name for it (may be empty)
};

// How the command line and profiles write an item: its alias where it has one.
constexpr std::string_view ItemSpelling(const ListItem& item) {
    return item.alias.empty() ? item.text : item.alias;
}

struct SettingList {
    std::string_view name;           // command-line name of the list, e.g. "code-pages"
    std::string_view label;          // the form's label, e.g. "代码页:"
    bool hasNoChange;                // whether the form puts "不改变" in front of the items
    std::span<const ListItem> items; // the real items; item n is sent as n
};

// The lists that feed no setting of their own: the logo slots, and the line settings, which
// the computer's port group and the printer's serial format share.
namespace Lists {
extern const SettingList kBitmapSlot;
extern const SettingList kBaudRate;
extern const SettingList kParity;
extern const SettingList kDataBits;
extern const SettingList kFlowControl;
} // namespace Lists

// Resolves a command-line value: the alias or the item's text (letter case ignored for ASCII),
// else the item number n. Empty when nothing matches.
std::optional<std::size_t> ResolveItem(const SettingList& list, std::string_view value);
// By the alias or the text alone, where a number must not stand for an item ("7" data bits).
std::optional<std::size_t> ResolveItemName(const SettingList& list, std::string_view value);

} // namespace tervan
