#pragma once

#include "form/BoxMessage.h"
#include "form/FormRules.h"
#include "form/FormState.h"
#include "profile/Profile.h"
#include "protocol/Strings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// Settings profiles in the form, for the window menu's entries "保存配置…" and "载入配置…"
// (WindowString::SaveProfileMenu, LoadProfileMenu): the translation between a profile and the
// form, once.
namespace tervan {

// The file chooser of both entries: one filter entry, named by WindowString::ProfileFilter.
inline constexpr std::string_view kProfilePattern = "*.toml";
inline constexpr std::string_view kProfileExtension = "toml";

// The form as a profile: the settings 设置 would send, and the port group's choice. A form that
// 设置 would refuse or stop at (an empty Bluetooth name, a PIN of other than four digits, a
// character the code page lacks) gives the line that says why instead: a profile holds only what it
// can give back.
std::variant<Profile, std::string> FormProfile(const FormState& form, Language language);

// Fills the form from a profile as the user would have set it: every setting back to its initial
// state ("不改变", unchecked, "0"), then each one the profile holds through the form's own rules
// (its "修改" box, 针式打印机 with the dot-matrix fonts, the buzzer pair); the port group where the
// profile names its parts. Returns what the window applies silently; a port this computer does
// not list leaves the port as it was, and the message says so.
FormChanges ApplyProfile(FormState& form, const Profile& profile, Language language);

// What the two entries run once the user has chosen a file. Saving returns the box to show when
// nothing was written.
std::optional<BoxMessage> SaveFormProfile(const FormState& form, const std::filesystem::path& path,
                                          Language language);
// A refused profile leaves the form as it was: the changes then hold only the message.
FormChanges LoadFormProfile(FormState& form, const std::filesystem::path& path, Language language);

} // namespace tervan
