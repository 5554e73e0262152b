#pragma once

#include "protocol/PrinterSettings.h"
#include "protocol/Strings.h"
#include "protocol/ToAnsi.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A settings profile: the settings of one shop's printers (and optionally the computer's side of
// the link) in a TOML file, saved once and applied on any computer by the command line or either
// window. Its keys are the command line's option names without their dashes, with the values the
// options take; a key left out leaves its setting unchanged.
namespace tervan {

// The computer's side of the link; each part absent when the profile leaves it to whoever applies
// it. Line settings are indices of the lists Lists::kBaudRate, kParity and kDataBits.
struct ProfileLink {
    std::optional<std::string> port;
    std::optional<std::uint8_t> baud;
    std::optional<std::uint8_t> parity;
    std::optional<std::uint8_t> dataBits;
};

struct Profile {
    PrinterSettings settings;
    ProfileLink link;
};

// A profile is a few hundred bytes; anything far larger is not one.
inline constexpr std::size_t kMaxProfileBytes = std::size_t{64} * 1024;

// A profile read and checked, or the one line that refuses it: the file, the line and what is
// wrong ("shop.toml:3: density: '31' is not allowed; use 0..30"). The values go through the same
// check as the command line's options, in `codePage`, the one the texts will be sent in.
struct ProfileRead {
    std::optional<Profile> profile;
    std::string problem;
};

ProfileRead ReadProfile(const std::filesystem::path& path, const AnsiCodePage& codePage,
                        Language language = UiLanguage());
// The same for a file's contents; `fileName` is how the messages name the file.
ProfileRead ParseProfile(std::string_view text, std::string_view fileName,
                         const AnsiCodePage& codePage, Language language = UiLanguage());

// The file's contents: a header comment with the program's version, the link, then the settings in
// the table's order.
std::string ProfileText(const Profile& profile);

// Writes the file whole, or leaves what was there: none when written, else the line that says why
// not.
std::optional<std::string> WriteProfile(const std::filesystem::path& path, const Profile& profile);

// The path as the messages show it, in UTF-8.
std::string PathText(const std::filesystem::path& path);

} // namespace tervan
