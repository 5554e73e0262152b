#include "form/ProfileForm.h"

#include "base/Utf.h"
#include "form/ControlIds.h"
#include "form/Gather.h"
#include "protocol/InputProblemText.h"
#include "protocol/LinkSession.h"
#include "protocol/SettingValues.h"

#include <algorithm>
#include <vector>

namespace tervan {

namespace {

std::string Text(StringId id, Language language) {
    return std::string(LoadString(id, language));
}

// The controls of one setting by kind: its "修改" box (the font's: 针式打印机), its lists in the
// order its record takes them, its edit.
struct SettingControls {
    int check = 0;
    std::vector<int> lists;
    int edit = 0;
};

SettingControls ControlsOf(const Setting& setting) {
    SettingControls ids;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.setting != &setting) {
            continue;
        }
        if (control.kind == ControlKind::CheckBox) {
            ids.check = control.id;
        } else if (control.kind == ControlKind::DropDownList) {
            ids.lists.push_back(control.id);
        } else if (control.kind == ControlKind::Edit) {
            ids.edit = control.id;
        }
    }
    return ids;
}

// One setting of the profile into the form, as the user sets it: box first, then the values.
void SetSetting(FormState& form, const Setting& setting, const PrinterSettings& settings) {
    const SettingControls ids = ControlsOf(setting);
    switch (setting.kind) {
    case SettingKind::Font:
        if (settings.dotMatrixFonts) {
            OnClicked(form, ids.check, true);
        }
        [[fallthrough]];
    case SettingKind::List:
        if (const auto n = settings.*setting.item) {
            OnSelChange(form, ids.lists[0], *n + 1);
        }
        break;
    case SettingKind::SerialFormat:
        if (const auto& format = settings.*setting.format) {
            OnClicked(form, ids.check, true);
            const int indices[] = {format->baudIndex, format->parityIndex, format->dataBitsIndex,
                                   format->flowIndex};
            for (std::size_t i = 0; i < ids.lists.size(); ++i) {
                OnSelChange(form, ids.lists[i], indices[i]);
            }
        }
        break;
    case SettingKind::Text:
        if (const TextSetting& text = settings.*setting.text; text.checked) {
            OnClicked(form, ids.check, true);
            OnEditChange(form, ids.edit, text.text);
        }
        break;
    case SettingKind::Offset:
        if (const OffsetSetting& offset = settings.*setting.offset; offset.set && offset.dots) {
            OnSelChange(form, ids.lists[0], 1);
            OnEditChange(form, ids.edit, Utf8ToUtf16Lossy(std::to_string(*offset.dots)));
        }
        break;
    case SettingKind::Buzzer:
        if (const auto& buzzer = settings.*setting.buzzer) {
            OnSelChange(form, ids.lists[0], buzzer->onError ? 2 : 1);
            OnSelChange(form, ids.lists[1], buzzer->onCut ? 2 : 1);
        }
        break;
    }
}

// The port group; a port the list lacks is named in the message that is returned.
std::optional<BoxMessage> SetLink(FormState& form, const ProfileLink& link, Language language) {
    std::optional<BoxMessage> message;
    if (link.port) {
        // The same port as the command line would open: "usb" in any case, "com3" as "COM3".
        const PortChoice wanted = ChoosePort(*link.port);
        const std::vector<std::string>& ports = form.At(Ctl::PortList).items;
        std::size_t i = 0;
        while (i < ports.size() && (ChoosePort(ports[i]).usb != wanted.usb ||
                                    ChoosePort(ports[i]).path != wanted.path)) {
            ++i;
        }
        if (i < ports.size()) {
            OnSelChange(form, Ctl::PortList, static_cast<int>(i));
        } else {
            message = BoxMessage{
                FormatString(LoadString(StringId::ProfilePortMissing, language), {*link.port}),
                Text(StringId::Tip, language)};
        }
    }
    const std::pair<int, std::optional<std::uint8_t>> lines[] = {
        {Ctl::BaudRate, link.baud}, {Ctl::Parity, link.parity}, {Ctl::DataBits, link.dataBits}};
    for (const auto& [id, index] : lines) {
        if (index) {
            OnSelChange(form, id, *index);
        }
    }
    return message;
}

// What the window must change to show `next` instead of `shown`.
std::vector<ControlChange> Difference(const FormState& shown, const FormState& next) {
    std::vector<ControlChange> changes;
    for (const ControlState& to : next.controls) {
        const ControlState& from = shown.At(to.id);
        ControlChange change;
        change.id = to.id;
        if (from.items != to.items) {
            change.items = to.items;
            change.selection = to.selection;
        } else if (from.selection != to.selection) {
            change.selection = to.selection;
        }
        if (from.enabled != to.enabled) {
            change.enabled = to.enabled;
        }
        if (from.checked != to.checked) {
            change.checked = to.checked;
        }
        if (from.text != to.text) {
            change.text = to.text;
        }
        if (change.items || change.selection || change.enabled || change.checked || change.text) {
            changes.push_back(std::move(change));
        }
    }
    return changes;
}

} // namespace

std::variant<Profile, std::string> FormProfile(const FormState& form, Language language) {
    Profile profile;
    PrinterSettings& settings = profile.settings;
    settings = GatherSettings(form);
    for (const Setting& setting : kSettingTable) {
        if (setting.kind == SettingKind::Text && setting.rule == TextRule::Identity) {
            // 设置 skips an empty identity text whether its box is checked or not.
            TextSetting& text = settings.*setting.text;
            text.checked = text.checked && !text.text.empty();
        }
    }
    if (const auto problem = CheckSettings(settings, form.codePage, InputRules::CommandLine)) {
        const auto given = problem->setting != nullptr ? SettingValueOf(*problem->setting, settings)
                                                       : std::nullopt;
        return InputProblemText(*problem, NameOf(problem->setting).label,
                                given ? given->text : std::string(), form.codePage, language);
    }
    const std::string port = SelectedPort(form);
    if (form.m_bUsb) {
        profile.link.port = "usb";
    } else if (!port.empty()) {
        const auto index = [&form](int id) {
            return static_cast<std::uint8_t>(std::max(0, form.At(id).selection));
        };
        profile.link = {port, index(Ctl::BaudRate), index(Ctl::Parity), index(Ctl::DataBits)};
    }
    return profile;
}

FormChanges ApplyProfile(FormState& form, const Profile& profile, Language language) {
    FormState next = form;
    const FormState fresh = InitialFormState(form.At(Ctl::PortList).items, form.codePage);
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.setting != nullptr) {
            next.At(control.id) = fresh.At(control.id);
        }
    }
    next.m_strLastBtName = fresh.m_strLastBtName;
    for (const Setting& setting : kSettingTable) {
        SetSetting(next, setting, profile.settings);
    }
    FormChanges changes;
    changes.message = SetLink(next, profile.link, language);
    changes.controls = Difference(form, next);
    form = std::move(next);
    return changes;
}

std::optional<BoxMessage> SaveFormProfile(const FormState& form, const std::filesystem::path& path,
                                          Language language) {
    const auto profile = FormProfile(form, language);
    std::optional<std::string> problem;
    if (const auto* refused = std::get_if<std::string>(&profile)) {
        problem = *refused;
    } else {
        problem = WriteProfile(path, std::get<Profile>(profile));
    }
    if (!problem) {
        return std::nullopt;
    }
    return BoxMessage{*problem, Text(StringId::Error, language)};
}

FormChanges LoadFormProfile(FormState& form, const std::filesystem::path& path, Language language) {
    const ProfileRead read = ReadProfile(path, form.codePage, language);
    if (!read.profile) {
        return {BoxMessage{read.problem, Text(StringId::Error, language)}, {}};
    }
    return ApplyProfile(form, *read.profile, language);
}

} // namespace tervan
