#include "profile/Profile.h"

#include "profile/ProfileKeys.h"
#include "protocol/SettingTable.h"
#include "protocol/SettingValues.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace tervan {

namespace {

// A TOML basic string. The input check keeps control characters out of a profile's texts; they
// are escaped all the same, so that no file is ever written that cannot be read back.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string Line(std::string_view key, const SettingValue& value) {
    return std::string(key) + " = " + (value.number ? value.text : Quoted(value.text)) + "\n";
}

std::string LinkLines(const ProfileLink& link) {
    std::string out;
    for (const ExtraKey key : kLinkKeys) {
        if (const auto value = LinkValueText(key, link)) {
            out += Line(KeyName(key), {*value, key == ExtraKey::Baud || key == ExtraKey::DataBits});
        }
    }
    return out;
}

std::string SettingLines(const PrinterSettings& settings) {
    std::string out;
    for (const Setting& setting : kSettingTable) {
        if (setting.kind == SettingKind::Font && settings.dotMatrixFonts) {
            out += Line(KeyName(ExtraKey::DotMatrix), {"true", true});
        }
        if (const auto value = SettingValueOf(setting, settings)) {
            out += Line(setting.name, *value);
        }
    }
    return out;
}

} // namespace

std::string ProfileText(const Profile& profile) {
    const std::string link = LinkLines(profile.link);
    const std::string settings = SettingLines(profile.settings);
    return "# Tervan settings profile, written by Tervan " TERVAN_VERSION ".\n"
           "# Each key is an option of tervan-cli apply without its dashes; a setting left out "
           "is not changed.\n\n" +
           link + (link.empty() || settings.empty() ? "" : "\n") + settings;
}

std::optional<std::string> WriteProfile(const std::filesystem::path& path, const Profile& profile) {
    const std::string name = PathText(path);
    std::error_code error;
    // Through a link to the file it names, and never over a directory, a FIFO or a device.
    std::filesystem::path target = path;
    if (std::filesystem::exists(path, error)) {
        if (!std::filesystem::is_regular_file(path, error)) {
            return name + ": not a regular file; a profile is saved as a file of its own";
        }
        target = std::filesystem::canonical(path, error);
        if (error) {
            return name + ": " + error.message();
        }
    }
    // Written beside the file and renamed over it, so that a failure leaves the old file whole.
    std::filesystem::path part = target;
    part += ".part";
    const std::string text = ProfileText(profile);
    {
        // A leftover of an earlier failure goes first, whatever it is (a FIFO would block).
        std::filesystem::remove(part, error);
        errno = 0;
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.close();
        if (!out) {
            const int cause = errno;
            std::filesystem::remove(part, error);
            return name + ": cannot be written" +
                   (cause != 0 ? ": " + std::string(std::strerror(cause)) : std::string());
        }
    }
    std::filesystem::rename(part, target, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        return name + ": cannot be written: " + error.message();
    }
    return std::nullopt;
}

} // namespace tervan
