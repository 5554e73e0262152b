#include "cli/ProfileCommand.h"

#include "cli/ApplyCommand.h"
#include "cli/ConversionOptions.h"
#include "cli/ExitCode.h"
#include "cli/SystemPorts.h"
#include "profile/Profile.h"
#include "profile/ProfileKeys.h"
#include "protocol/ApplySettings.h"

#include <array>
#include <memory>

namespace tervan::cli {

namespace {

struct SaveInputs {
    std::string file;
    // By kLinkKeys.
    std::array<std::string, kLinkKeys.size()> link;
    SettingOptions settings;
};

std::string Flag(ExtraKey key) {
    return "--" + std::string(KeyName(key));
}

int RunSave(const CLI::App& cmd, const SaveInputs& in) {
    Profile profile;
    for (std::size_t i = 0; i < kLinkKeys.size(); ++i) {
        const std::string flag = Flag(kLinkKeys[i]);
        if (cmd.count(flag) == 0) {
            continue;
        }
        if (auto problem = TakeLinkValue(kLinkKeys[i], in.link[i], profile.link, flag)) {
            PrintText(*problem);
            return kExitBadInput;
        }
    }
    if (const auto problem = BuildSettings(in.settings, profile.settings)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    // What `apply` would refuse is not saved either: a profile holds only what it can give back.
    const AnsiCodePage codePage = SystemAnsiCodePage();
    if (const auto problem = CheckSettings(profile.settings, codePage, InputRules::CommandLine)) {
        PrintText(SettingProblemText(*problem, in.settings, codePage));
        return kExitBadInput;
    }
    if (const auto problem = WriteProfile(ArgumentPath(in.file), profile)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    PrintText(in.file + ": profile saved");
    return kExitDone;
}

int RunShow(const std::string& file) {
    const AnsiCodePage codePage = SystemAnsiCodePage();
    const ProfileRead read = ReadProfile(ArgumentPath(file), codePage);
    if (!read.profile) {
        PrintText(read.problem);
        return kExitBadInput;
    }
    LinkOptions dryRun;
    dryRun.dryRun = true;
    return RunOnLink(dryRun, [&](const Session& session) {
        const ApplyOutcome outcome = ApplySettings(read.profile->settings, codePage, session.link,
                                                   session.isUsb, session.pause, session.stop);
        return outcome == ApplyOutcome::Success ? kExitDone : kExitFailed;
    });
}

} // namespace

bool TakeProfile(const std::string& file, const CLI::App& apply, const AnsiCodePage& codePage,
                 PrinterSettings& settings, LinkOptions& link) {
    const ProfileRead read = ReadProfile(ArgumentPath(file), codePage);
    if (!read.profile) {
        PrintText(read.problem);
        return false;
    }
    settings = read.profile->settings;
    std::string port;
    std::string* const options[] = {&port, &link.baud, &link.parity, &link.dataBits};
    static_assert(std::size(options) == kLinkKeys.size());
    for (std::size_t i = 0; i < kLinkKeys.size(); ++i) {
        const auto value = LinkValueText(kLinkKeys[i], read.profile->link);
        if (value && apply.count(Flag(kLinkKeys[i])) == 0) {
            *options[i] = *value;
        }
    }
    // The profile's one port stands in only where the command line names no printer at all.
    if (!port.empty() && link.ports.empty() && link.portsFrom.empty()) {
        link.ports.push_back(port);
    }
    return true;
}

std::function<int()> AddProfileCommand(CLI::App& app) {
    CLI::App* cmd = app.add_subcommand(
        "profile", "Save settings in a profile file, or show what one would send");
    cmd->require_subcommand(1);

    auto save = std::make_shared<SaveInputs>();
    CLI::App* saveCmd = cmd->add_subcommand(
        "save", "Write the settings given (the options of apply) to FILE, a TOML file that "
                "apply --profile, profile show and both windows read");
    saveCmd->add_option("FILE", save->file, "the profile to write")->required();
    const std::array<std::string, kLinkKeys.size()> help = {
        std::string(PortOptionHelp()), "1200|2400|4800|9600|19200|38400|57600|115200",
        "none|odd|even", "7|8"};
    for (std::size_t i = 0; i < kLinkKeys.size(); ++i) {
        saveCmd->add_option(Flag(kLinkKeys[i]), save->link[i], help[i])->group("Link");
    }
    AddSettingOptions(*saveCmd, save->settings);

    auto show = std::make_shared<std::string>();
    CLI::App* showCmd = cmd->add_subcommand(
        "show", "Print each write that apply --profile FILE would send, as apply --dry-run does");
    showCmd->add_option("FILE", *show, "the profile to read")->required();

    return [saveCmd, showCmd, save, show] {
        if (saveCmd->parsed()) {
            return RunSave(*saveCmd, *save);
        }
        return showCmd->parsed() ? RunShow(*show) : -1;
    };
}

} // namespace tervan::cli
