#include "protocol/SettingTable.h"

#include <vector>

namespace tervan {

std::span<const SettingList* const> AllLists() {
    // The settings' lists in the table's order, which is the form's; the slots last.
    static const std::vector<const SettingList*> all = [] {
        std::vector<const SettingList*> lists;
        for (const Setting& setting : kSettingTable) {
            for (const SettingList* list : setting.lists) {
                if (list != nullptr) {
                    lists.push_back(list);
                }
            }
        }
        lists.push_back(&Lists::kBitmapSlot);
        return lists;
    }();
    return all;
}

const SettingList* FindList(std::string_view name) {
    for (const SettingList* list : AllLists()) {
        if (list->name == name) {
            return list;
        }
    }
    return nullptr;
}

} // namespace tervan
