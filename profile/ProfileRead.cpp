#include "profile/Profile.h"

#include "base/FileBytes.h"
#include "profile/ProfileKeys.h"
#include "protocol/InputProblemText.h"
#include "protocol/MarkOffset.h"
#include "protocol/SettingValues.h"

#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <vector>

namespace tervan {

namespace {

constexpr const char* kOnlyKeyValues =
    "a profile holds only key = value lines, without [tables], dotted keys or { }";

// What a key's value may be in TOML.
enum class Want { Text, Number, TextOrNumber, Boolean };

Want WantOf(const ProfileKey& key) {
    if (key.setting == nullptr) {
        return key.extra == ExtraKey::DotMatrix                                 ? Want::Boolean
               : key.extra == ExtraKey::Baud || key.extra == ExtraKey::DataBits ? Want::TextOrNumber
                                                                                : Want::Text;
    }
    switch (key.setting->kind) {
    case SettingKind::List:
    case SettingKind::Font:
        return Want::TextOrNumber;
    case SettingKind::Offset:
        return Want::Number;
    default:
        return Want::Text;
    }
}

const char* WantText(Want want) {
    switch (want) {
    case Want::Text:
        return "a text in quotes";
    case Want::Number:
        return "a whole number";
    case Want::TextOrNumber:
        return "a name in quotes or a number";
    case Want::Boolean:
        return "true or false";
    }
    return "";
}

const char* TypeText(const toml::node& node) {
    switch (node.type()) {
    case toml::node_type::string:
        return "a text";
    case toml::node_type::integer:
        return "a whole number";
    case toml::node_type::floating_point:
        return "a decimal number";
    case toml::node_type::boolean:
        return "a boolean";
    case toml::node_type::array:
        return "an array";
    case toml::node_type::table:
        return "a table";
    default:
        return "a date or time";
    }
}

// The value as the command line would have it; none when TOML holds it as another type.
std::optional<std::string> ValueText(const toml::node& node, Want want) {
    const bool number = want == Want::Number || want == Want::TextOrNumber;
    const bool text = want == Want::Text || want == Want::TextOrNumber;
    if (const auto* integer = node.as_integer(); integer != nullptr && number) {
        return std::to_string(integer->get());
    }
    if (const auto* string = node.as_string(); string != nullptr && text) {
        return string->get();
    }
    return std::nullopt;
}

// The likely mend of a number written as a text, or the other way round.
std::string Suggestion(const std::string& key, const toml::node& node, Want want) {
    if (const auto* integer = node.as_integer(); integer != nullptr && want == Want::Text) {
        return "; write it in quotes: " + key + " = \"" + std::to_string(integer->get()) + "\"";
    }
    const auto* string = node.as_string();
    if (string != nullptr && want == Want::Number && ParseWholeMarkOffset(string->get())) {
        return "; write it without quotes: " + key + " = " + string->get();
    }
    return {};
}

// toml++ builds a table for each part of a dotted key (in an inline table too) and tears them
// down recursively, so a key of thousands of parts would overflow the stack. A profile has no
// dotted keys at all, and a value has a dot or two outside quotes at most (1.5, a time): a line
// with many dots outside quotes and comments is refused before the file is parsed.
constexpr int kMaxDotsInLine = 64;

std::optional<int> LineOfDeepKey(std::string_view text) {
    int line = 1;
    int dots = 0;
    char quote = 0; // the quote of the string the scan is in, if any
    bool comment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            dots = 0;
            quote = 0;
            comment = false;
        } else if (comment) {
            continue;
        } else if (quote != 0) {
            if (c == '\\' && quote == '"' && i + 1 < text.size() && text[i + 1] != '\n') {
                ++i; // an escape in a basic string
            } else if (c == quote) {
                quote = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '#') {
            comment = true;
        } else if (c == '.' && ++dots > kMaxDotsInLine) {
            return line;
        }
    }
    return std::nullopt;
}

struct Entry {
    std::string_view key;
    const toml::node* node;
    int line;
};

class Reader {
public:
    Reader(std::string_view fileName, const AnsiCodePage& codePage, Language language)
        : m_fileName(fileName), m_codePage(codePage), m_language(language) {}

    ProfileRead Read(std::string_view text) {
        if (const auto line = LineOfDeepKey(text)) {
            return Refuse(*line, "more than " + std::to_string(kMaxDotsInLine) +
                                     " dots outside quotes; " + kOnlyKeyValues);
        }
        toml::parse_result parsed = toml::parse(text, std::string_view(m_fileName));
        if (!parsed) {
            const toml::parse_error& error = parsed.error();
            return Refuse(static_cast<int>(error.source().begin.line),
                          std::string(error.description()));
        }
        // The file's own order, so the first mistake a reader meets is the one named.
        std::vector<Entry> entries;
        for (const auto& [key, node] : parsed.table()) {
            entries.push_back({key.str(), &node, static_cast<int>(key.source().begin.line)});
        }
        std::ranges::sort(entries, {}, &Entry::line);

        // The font's names depend on dot-matrix, wherever it stands.
        for (const Entry& entry : entries) {
            if (entry.key == KeyName(ExtraKey::DotMatrix) && entry.node->is_boolean()) {
                m_profile.settings.dotMatrixFonts = entry.node->as_boolean()->get();
            }
        }
        for (const Entry& entry : entries) {
            if (auto problem = Take(entry)) {
                return Refuse(entry.line, *problem);
            }
        }
        return Check();
    }

private:
    ProfileRead Refuse(int line, const std::string& problem) const {
        return {std::nullopt, m_fileName + ":" + std::to_string(line) + ": " + problem};
    }

    std::optional<std::string> Take(const Entry& entry) {
        const std::string key(entry.key);
        if (entry.node->is_table()) {
            return "'" + key + "' is a table; " + kOnlyKeyValues;
        }
        const std::optional<ProfileKey> known = FindProfileKey(entry.key);
        if (!known) {
            return "'" + key + "' is not a key of a profile; the keys are " + ProfileKeyNames();
        }
        const Want want = WantOf(*known);
        if (known->extra == ExtraKey::DotMatrix) {
            if (!entry.node->is_boolean()) {
                return key + ": " + TypeText(*entry.node) + " where " + WantText(want) + " belongs";
            }
            return std::nullopt; // read first
        }
        const std::optional<std::string> value = ValueText(*entry.node, want);
        if (!value) {
            return key + ": " + TypeText(*entry.node) + " where " + WantText(want) + " belongs" +
                   Suggestion(key, *entry.node, want);
        }
        if (known->setting == nullptr) {
            return TakeLinkValue(known->extra, *value, m_profile.link, key);
        }
        const Setting& setting = *known->setting;
        const std::size_t row = static_cast<std::size_t>(&setting - kSettingTable.data());
        m_lines[row] = entry.line;
        m_values[row] = *value;
        const bool alternative =
            setting.kind == SettingKind::Font && m_profile.settings.dotMatrixFonts;
        return TakeSettingValue(setting, *value, alternative, m_profile.settings, key);
    }

    // The command line's input check, naming the key and its line.
    ProfileRead Check() const {
        const auto problem = CheckSettings(m_profile.settings, m_codePage, InputRules::CommandLine);
        if (!problem) {
            return {m_profile, {}};
        }
        if (problem->setting == nullptr) {
            // The code page is the system's, not the file's.
            return {std::nullopt, InputProblemText(*problem, {}, {}, m_codePage, m_language)};
        }
        const std::size_t row = static_cast<std::size_t>(problem->setting - kSettingTable.data());
        return Refuse(m_lines[row], InputProblemText(*problem, problem->setting->name,
                                                     m_values[row], m_codePage, m_language));
    }

    std::string m_fileName;
    const AnsiCodePage& m_codePage;
    Language m_language;
    Profile m_profile;
    std::array<int, kSettingTable.size()> m_lines{};
    std::array<std::string, kSettingTable.size()> m_values{};
};

std::string OpenFailure(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        return "no such file";
    }
    if (std::filesystem::is_directory(status)) {
        return "a directory, not a profile";
    }
    return "cannot be opened for reading";
}

} // namespace

ProfileRead ParseProfile(std::string_view text, std::string_view fileName,
                         const AnsiCodePage& codePage, Language language) {
    return Reader(fileName, codePage, language).Read(text);
}

ProfileRead ReadProfile(const std::filesystem::path& path, const AnsiCodePage& codePage,
                        Language language) {
    const std::string name = PathText(path);
    Bytes bytes;
    // One byte more than a profile may hold tells a file that is too large without reading it all.
    switch (ReadFileStart(path, kMaxProfileBytes + 1, bytes)) {
    case FileReadOutcome::Read:
        break;
    case FileReadOutcome::OpenFailed:
        return {std::nullopt, name + ": " + OpenFailure(path)};
    case FileReadOutcome::NotRegular:
        return {std::nullopt, name + ": not a regular file (a FIFO, a device or a socket)"};
    case FileReadOutcome::ReadFailed:
        return {std::nullopt, name + ": cannot be read"};
    }
    if (bytes.size() > kMaxProfileBytes) {
        return {std::nullopt, name + ": larger than " + std::to_string(kMaxProfileBytes / 1024) +
                                  " KiB; a profile is a few hundred bytes of text"};
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ParseProfile(text, name, codePage, language);
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace tervan
