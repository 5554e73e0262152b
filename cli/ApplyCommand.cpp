#include "cli/ApplyCommand.h"

#include "cli/ExitCode.h"
#include "cli/LinkOptions.h"
#include "cli/ProfileCommand.h"
#include "protocol/ApplySettings.h"
#include "protocol/InputProblemText.h"
#include "protocol/MarkOffset.h"
#include "protocol/SettingValues.h"

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

// The code pages by number and name, six to a line; `tervan-cli list code-pages` has the rest.
std::string CodePageTable() {
    std::string out = "Code pages (--code-page N|NAME):";
    const auto& items = SettingNamed("code-page").lists[0]->items;
    for (std::size_t n = 0; n < items.size(); ++n) {
        const std::string name(ItemSpelling(items[n]));
        std::string cell = (n < 10 ? "   " : "  ") + std::to_string(n) + " " + name;
        cell.resize(std::max<std::size_t>(cell.size(), 18), ' ');
        out += (n % 6 == 0 ? "\n" : "") + cell;
    }
    return out;
}

std::string OffsetRange() {
    return "-" + std::to_string(kMaxMarkOffset) + ".." + std::to_string(kMaxMarkOffset);
}

std::string Help(const Setting& setting) {
    switch (setting.kind) {
    case SettingKind::List:
        return AllowedValues(*setting.lists[0]);
    case SettingKind::Font:
        return "thermal: " + ListChoices(*setting.lists[0]) + "; with --" +
               std::string(setting.alternative) + ": " + ListChoices(*setting.lists[1]);
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
    SettingOptions settings;
    std::string profile;
};

int RunApply(const CLI::App& cmd, const Inputs& in) {
    const AnsiCodePage codePage = SystemAnsiCodePage();
    PrinterSettings settings;
    LinkOptions link = in.link;
    if (cmd.count("--profile") > 0 && !TakeProfile(in.profile, cmd, codePage, settings, link)) {
        return kExitBadInput;
    }
    if (const auto problem = BuildSettings(in.settings, settings)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    if (const auto problem = CheckSettings(settings, codePage, InputRules::CommandLine)) {
        PrintText(SettingProblemText(*problem, in.settings, codePage));
        return kExitBadInput;
    }
    return RunOnLink(link, [&](const Session& session) {
        const ApplyOutcome outcome = ApplySettings(settings, codePage, session.link, session.isUsb,
                                                   session.pause, session.stop);
        session.say(LoadString(VerdictText(outcome)));
        return outcome == ApplyOutcome::Success ? kExitDone : kExitFailed;
    });
}

} // namespace

void AddSettingOptions(CLI::App& cmd, SettingOptions& in) {
    for (const Setting* setting : OptionOrder()) {
        const std::size_t row = RowOf(*setting);
        in.given[row] = cmd.add_option(Flag(*setting), in.values[row], Help(*setting))
                            ->group("Settings")
                            ->type_name(TypeName(*setting));
        if (setting->kind == SettingKind::Font) {
            const std::string alternative(setting->alternative);
            cmd.add_flag("--" + alternative, in.alternative,
                         Flag(*setting) + " names the " + alternative + " fonts")
                ->group("Settings");
        }
    }
}

std::optional<std::string> BuildSettings(const SettingOptions& in, PrinterSettings& s) {
    // A profile's dot-matrix fonts name the fonts of the command line too.
    s.dotMatrixFonts = s.dotMatrixFonts || in.alternative;
    for (const Setting* setting : OptionOrder()) {
        const std::size_t row = RowOf(*setting);
        if (in.given[row]->count() == 0) {
            continue;
        }
        const bool alternative = setting->kind == SettingKind::Font && s.dotMatrixFonts;
        if (auto p = TakeSettingValue(*setting, in.values[row], alternative, s, Flag(*setting))) {
            return p;
        }
    }
    return std::nullopt;
}

std::string SettingProblemText(const InputProblem& problem, const SettingOptions& in,
                               const AnsiCodePage& codePage) {
    const std::string given =
        problem.setting != nullptr ? in.values[RowOf(*problem.setting)] : std::string();
    return InputProblemText(problem, NameOf(problem.setting).flag, given, codePage);
}

std::function<int()> AddApplyCommand(CLI::App& app) {
    auto in = std::make_shared<Inputs>();
    CLI::App* cmd = app.add_subcommand(
        "apply", "Put the printer into setup mode, send the settings given, leave setup mode. "
                 "A setting left out is not changed.");
    AddLinkOptions(*cmd, in->link);
    cmd->add_option("--profile", in->profile,
                    "the settings and the link of a profile (tervan-cli profile save); the "
                    "options given here take the place of the profile's")
        ->type_name("FILE");
    cmd->footer("Texts may hold no control characters, and every character must exist in the "
                "code page of the locale or of TERVAN_ANSI_CODEPAGE.\n\n" +
                CodePageTable());
    AddSettingOptions(*cmd, in->settings);
    return [cmd, in] { return cmd->parsed() ? RunApply(*cmd, *in) : -1; };
}

} // namespace tervan::cli
