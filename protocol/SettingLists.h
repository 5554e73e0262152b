#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

// The items of every list of the form, in one place: the window fills its lists from here and
// the command line resolves names and numbers against the same data.
namespace tervan {

// Row 0 of every optional setting list.
inline constexpr std::string_view kNoChange = "不改变";

struct ListItem {
    std::string_view text;  // as the form shows it
    std::string_view alias; // the command line's name for it (may be empty)
};

struct SettingList {
    std::string_view name;           // command-line name of the list, e.g. "code-pages"
    std::string_view label;          // the form's label, e.g. "代码页:"
    bool hasNoChange;                // whether the form puts "不改变" in front of the items
    std::span<const ListItem> items; // the real items; item n is sent as n
};

namespace Lists {
extern const SettingList kFontThermal;
extern const SettingList kFontDotMatrix;
extern const SettingList kLanguage;
extern const SettingList kCodePage;
extern const SettingList kMarkDetect;
extern const SettingList kMarkSensitivity;
extern const SettingList kSpeed;
extern const SettingList kDensity;
extern const SettingList kCrMode;
extern const SettingList kDirection;
extern const SettingList kPaperWidth;
extern const SettingList kUsbMode;
extern const SettingList kCutter;
extern const SettingList kBuzzerError;
extern const SettingList kBuzzerCut;
extern const SettingList kMarkStart;
extern const SettingList kMarkTear;
extern const SettingList kBitmapSlot;
// The computer's port group and the printer's serial group share these items.
extern const SettingList kBaudRate;
extern const SettingList kParity;
extern const SettingList kDataBits;
extern const SettingList kFlowControl;
} // namespace Lists

// Every setting list, in the order the form shows them (the port list is the system's: ListPorts).
std::span<const SettingList* const> AllLists();
const SettingList* FindList(std::string_view name);

// Resolves a command-line value: the alias or the item's text (letter case ignored for ASCII),
// else the item number n. Empty when nothing matches.
std::optional<std::size_t> ResolveItem(const SettingList& list, std::string_view value);

} // namespace tervan
