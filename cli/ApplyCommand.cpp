#include "cli/ApplyCommand.h"

#include "base/Utf.h"
#include "cli/ExitCode.h"
#include "cli/InputProblemText.h"
#include "cli/LinkOptions.h"
#include "protocol/ApplySettings.h"
#include "protocol/InputCheck.h"
#include "protocol/MarkOffset.h"
#include "protocol/SettingTable.h"
#include "protocol/ToAnsi.h"

#include <array>
#include <memory>
#include <vector>

namespace tervan::cli {

namespace {

// The options come kind by kind, each kind in the order of sending.
constexpr SettingKind kOptionGroups[] = {SettingKind::List,         SettingKind::Font,
                                         SettingKind::SerialFormat, SettingKind::Text,
                                         SettingKind::Offset,       SettingKind::Buzzer};

std::vector<const Setting*> OptionOrder() {
    std::vector<const Setting*> order;
    for (const SettingKind kind : kOptionGroups) {
        for (const Setting* setting : kSendingOrder) {
            if (setting->kind == kind) {
                order.push_back(setting);
            }
        }
    }
    return order;
}

// Where the table has the setting: its option's value is kept at the same place.
std::size_t RowOf(const Setting& setting) {
    return static_cast<std::size_t>(&setting - kSettingTable.data());
}

std::string Flag(const Setting& setting) {
    return NameOf(&setting).flag;
}

// "on (开)": the command-line name, with the form's text where it says more.
std::string ItemName(const ListItem& item) {
    if (item.alias.empty() || item.alias == item.text) {
        return std::string(item.text);
    }
    return std::string(item.alias) + " (" + std::string(item.text) + ")";
}

// "0 off | 1 on": the items with the numbers the option takes.
std::string Choices(const SettingList& list) {
    std::string out;
    for (std::size_t n = 0; n < list.items.size(); ++n) {
        out += (n == 0 ? "" : " | ") + std::to_string(n) + " " + ItemName(list.items[n]);
    }
    return out;
}

// The code pages by number and name, six to a line; `tervan-cli list code-pages` has the rest.
std::string CodePageTable() {
    std::string out = "Code pages (--code-page N|NAME):";
    const auto& items = SettingNamed("code-page").lists[0]->items;
    for (std::size_t n = 0; n < items.size(); ++n) {
        const std::string name(items[n].alias.empty() ? items[n].text : items[n].alias);
        std::string cell = (n < 10 ? "   " : "  ") + std::to_string(n) + " " + name;
        cell.resize(std::max<std::size_t>(cell.size(), 18), ' ');
        out += (n % 6 == 0 ? "\n" : "") + cell;
    }
    return out;
}

std::string Allowed(const SettingList& list) {
    std::string range = "0.." + std::to_string(list.items.size() - 1);
    if (list.items.front().alias.empty() && list.items.front().text == "0") {
        return range; // the items are the numbers themselves
    }
    if (list.items.size() > 12) {
        return range + " or a name from tervan-cli list " + std::string(list.name);
    }
    return Choices(list);
}

std::string OffsetRange() {
    return "-" + std::to_string(kMaxMarkOffset) + ".." + std::to_string(kMaxMarkOffset);
}

std::string Help(const Setting& setting) {
    switch (setting.kind) {
    case SettingKind::List:
        return Allowed(*setting.lists[0]);
    case SettingKind::Font:
        return "thermal: " + Choices(*setting.lists[0]) + "; with --" +
               std::string(setting.alternative) + ": " + Choices(*setting.lists[1]);
    default:
        return FormatString(setting.help, {std::to_string(setting.characters),
                                           std::to_string(setting.bytes), OffsetRange()});
    }
}

std::string TypeName(const Setting& setting) {
    switch (setting.kind) {
    case SettingKind::List:
    case SettingKind::Font:
        return "N|NAME";
    case SettingKind::Text:
        return setting.rule == TextRule::BtPin ? std::string(setting.characters, 'D') : "TEXT";
    case SettingKind::Offset:
        return "N";
    case SettingKind::Buzzer:
        return "on|off,on|off";
    case SettingKind::SerialFormat:
        break;
    }
    return "TEXT";
}

struct Inputs {
    LinkOptions link;
    // By the table's rows.
    std::array<std::string, kSettingTable.size()> values;
    std::array<CLI::Option*, kSettingTable.size()> given = {};
    bool alternative = false; // the dot-matrix fonts
};

using Problem = std::optional<std::string>;

Problem ResolveList(const std::string& flag, const SettingList& list, const std::string& value,
                    std::optional<std::uint8_t>& out) {
    const auto n = ResolveItem(list, value);
    if (!n) {
        return flag + ": '" + value + "' is not allowed; use " + Allowed(list);
    }
    out = static_cast<std::uint8_t>(*n);
    return std::nullopt;
}

Problem ParseText(const std::string& flag, const std::string& value, std::u16string& out) {
    const auto text = Utf8ToUtf16(value);
    if (!text) {
        return flag + ": not valid UTF-8 text";
    }
    out = *text;
    return std::nullopt;
}

// The command line's offsets are whole numbers; a text that is none is marked so, and refused
// by the input check in its turn (it is UTF-8, like any text given).
Problem ParseOffset(const std::string& flag, const std::string& value, OffsetSetting& out) {
    std::u16string text;
    if (auto p = ParseText(flag, value, text)) {
        return p;
    }
    out.dots = ParseWholeMarkOffset(value);
    return std::nullopt;
}

Problem ParseSerialFormat(const std::string& flag, const std::string& value,
                          SetupCommandTable::SerialFormat& out) {
    const std::string usage = flag + ": '" + value +
                              "' is not BAUD,PARITY,BITS,FLOW (BAUD 1200..115200, PARITY "
                              "none|odd|even, BITS 7|8, FLOW xon-xoff|rts-cts), e.g. "
                              "115200,even,7,xon-xoff";
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = value.find(',', start);
        parts.push_back(
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        start = comma == std::string::npos ? value.size() + 1 : comma + 1;
    }
    if (parts.size() != 4) {
        return usage;
    }
    const auto& lists = SettingNamed("serial-format").lists;
    std::uint8_t indices[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        // By name only: "7" must mean seven data bits, not the eighth item.
        bool found = false;
        for (std::size_t n = 0; n < lists[i]->items.size(); ++n) {
            const ListItem& item = lists[i]->items[n];
            if (parts[i] == item.text || (!item.alias.empty() && parts[i] == item.alias)) {
                indices[i] = static_cast<std::uint8_t>(n);
                found = true;
            }
        }
        if (!found) {
            return usage;
        }
    }
    out = {indices[0], indices[1], indices[2], indices[3]};
    return std::nullopt;
}

Problem ParseBuzzer(const std::string& flag, const std::string& value, BuzzerChoice& out) {
    const std::size_t comma = value.find(',');
    const std::string error = value.substr(0, comma);
    const std::string cut = comma == std::string::npos ? "" : value.substr(comma + 1);
    const auto onOff = [](const std::string& v) -> std::optional<bool> {
        if (v == "on") {
            return true;
        }
        if (v == "off") {
            return false;
        }
        return std::nullopt;
    };
    const auto onError = onOff(error);
    const auto onCut = onOff(cut);
    if (!onError || !onCut) {
        return flag + ": '" + value + "' is not ERROR,CUT with each on or off, e.g. on,off";
    }
    out = {*onError, *onCut};
    return std::nullopt;
}

// One option's value into the settings record. Limits and refusals are the core's input check,
// once every option is read.
Problem Take(const Setting& setting, const std::string& value, bool alternative,
             PrinterSettings& s) {
    const std::string flag = Flag(setting);
    switch (setting.kind) {
    case SettingKind::List:
    case SettingKind::Font:
        return ResolveList(flag, *setting.lists[alternative ? 1 : 0], value, s.*setting.item);
    case SettingKind::SerialFormat:
        return ParseSerialFormat(flag, value, (s.*setting.format).emplace());
    case SettingKind::Text:
        (s.*setting.text).checked = true;
        return ParseText(flag, value, (s.*setting.text).text);
    case SettingKind::Offset:
        (s.*setting.offset).set = true;
        return ParseOffset(flag, value, s.*setting.offset);
    case SettingKind::Buzzer:
        return ParseBuzzer(flag, value, (s.*setting.buzzer).emplace());
    }
    return std::nullopt;
}

Problem BuildSettings(const Inputs& in, PrinterSettings& s) {
    s.dotMatrixFonts = in.alternative;
    for (const Setting* setting : OptionOrder()) {
        const std::size_t row = RowOf(*setting);
        if (in.given[row]->count() == 0) {
            continue;
        }
        const bool alternative = setting->kind == SettingKind::Font && in.alternative;
        if (auto p = Take(*setting, in.values[row], alternative, s)) {
            return p;
        }
    }
    return std::nullopt;
}

int RunApply(const Inputs& in) {
    PrinterSettings settings;
    if (const Problem problem = BuildSettings(in, settings)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    const AnsiCodePage codePage = SystemAnsiCodePage();
    if (const auto problem = CheckSettings(settings, codePage, InputRules::CommandLine)) {
        const std::string given =
            problem->setting != nullptr ? in.values[RowOf(*problem->setting)] : std::string();
        PrintText(InputProblemText(*problem, given, codePage));
        return kExitBadInput;
    }
    return RunOnLink(in.link, [&](const Session& session) {
        const ApplyOutcome outcome = ApplySettings(settings, codePage, session.link, session.isUsb,
                                                   session.pause, session.stop);
        session.say(LoadString(VerdictText(outcome)));
        return outcome == ApplyOutcome::Success ? kExitDone : kExitFailed;
    });
}

} // namespace

std::function<int()> AddApplyCommand(CLI::App& app) {
    auto in = std::make_shared<Inputs>();
    CLI::App* cmd = app.add_subcommand(
        "apply", "Put the printer into setup mode, send the settings given, leave setup mode. "
                 "A setting left out is not changed.");
    AddLinkOptions(*cmd, in->link);
    cmd->footer("Texts may hold no control characters, and every character must exist in the "
                "code page of the locale or of TERVAN_ANSI_CODEPAGE.\n\n" +
                CodePageTable());
    for (const Setting* setting : OptionOrder()) {
        const std::size_t row = RowOf(*setting);
        in->given[row] = cmd->add_option(Flag(*setting), in->values[row], Help(*setting))
                             ->group("Settings")
                             ->type_name(TypeName(*setting));
        if (setting->kind == SettingKind::Font) {
            const std::string alternative(setting->alternative);
            cmd->add_flag("--" + alternative, in->alternative,
                          Flag(*setting) + " names the " + alternative + " fonts")
                ->group("Settings");
        }
    }
    return [cmd, in] { return cmd->parsed() ? RunApply(*in) : -1; };
}

} // namespace tervan::cli
