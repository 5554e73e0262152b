#include "protocol/SettingTable.h"

namespace tervan {

namespace {

constexpr std::size_t kListCount = [] {
    std::size_t count = 1; // the logo slots
    for (const Setting& setting : kSettingTable) {
        count += static_cast<std::size_t>(std::ranges::count_if(
            setting.lists, [](const SettingList* list) { return list != nullptr; }));
    }
    return count;
}();

// The settings' lists in the table's order, which is the form's; the slots last.
constexpr std::array<const SettingList*, kListCount> kAllLists = [] {
    std::array<const SettingList*, kListCount> all{};
    std::size_t n = 0;
    for (const Setting& setting : kSettingTable) {
        for (const SettingList* list : setting.lists) {
            if (list != nullptr) {
                all[n++] = list;
            }
        }
    }
    all[n] = &Lists::kBitmapSlot;
    return all;
}();

} // namespace

std::span<const SettingList* const> AllLists() {
    return kAllLists;
}

const SettingList* FindList(std::string_view name) {
    for (const SettingList* list : kAllLists) {
        if (list->name == name) {
            return list;
        }
    }
    return nullptr;
}

} // namespace tervan
