#include "cli/InfoCommands.h"

#include "cli/ExitCode.h"
#include "cli/SystemPorts.h"
#include "protocol/SettingTable.h"

#include <iostream>
#include <memory>

namespace tervan::cli {

std::function<int()> AddPortsCommand(CLI::App& app) {
    CLI::App* cmd = app.add_subcommand("ports", "Show the USB printers and the serial ports");
    return [cmd] {
        if (!cmd->parsed()) {
            return -1;
        }
        PrintPorts(std::cout);
        return static_cast<int>(kExitDone);
    };
}

std::function<int()> AddListCommand(CLI::App& app) {
    auto name = std::make_shared<std::string>();
    CLI::App* cmd =
        app.add_subcommand("list", "Show the items of a setting list with their numbers");
    std::string names;
    for (const SettingList* list : AllLists()) {
        names += (names.empty() ? "" : ", ") + std::string(list->name);
    }
    cmd->add_option("NAME", *name, "one of: " + names);
    return [cmd, name, names] {
        if (!cmd->parsed()) {
            return -1;
        }
        if (name->empty()) {
            for (const SettingList* list : AllLists()) {
                std::cout << list->name << "  " << list->label << '\n';
            }
            return static_cast<int>(kExitDone);
        }
        const SettingList* list = FindList(*name);
        if (list == nullptr) {
            std::cerr << "list: '" << *name << "' is not one of " << names << '\n';
            return static_cast<int>(kExitBadInput);
        }
        for (std::size_t n = 0; n < list->items.size(); ++n) {
            const ListItem& item = list->items[n];
            std::cout << n << "  " << item.text;
            if (!item.alias.empty() && item.alias != item.text) {
                std::cout << "  (" << item.alias << ")";
            }
            std::cout << '\n';
        }
        return static_cast<int>(kExitDone);
    };
}

} // namespace tervan::cli
