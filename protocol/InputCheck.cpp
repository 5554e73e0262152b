#include "protocol/InputCheck.h"

#include "protocol/MarkOffset.h"
#include "protocol/Utf.h"

#include <array>
#include <cstdio>

namespace tervan {

namespace {

// What the form's edits hold at most, and the Bluetooth name's limits.
constexpr std::size_t kTextReadAtMost = 259;
constexpr std::size_t kBtNameMaxCharacters = 40;
constexpr std::size_t kBtNameMaxBytes = 30;

struct TextEntry {
    Setting setting;
    TextSetting PrinterSettings::*field;
};

// In the order the conversation sends them.
constexpr std::array<TextEntry, 5> kTexts{{
    {Setting::Manufacturer, &PrinterSettings::manufacturer},
    {Setting::Model, &PrinterSettings::model},
    {Setting::SerialNumber, &PrinterSettings::serialNumber},
    {Setting::BtName, &PrinterSettings::btName},
    {Setting::BtPassword, &PrinterSettings::btPassword},
}};

bool IsControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

char32_t FirstCharacter(std::u16string_view text) {
    const char32_t c = text[0];
    if (c >= 0xD800 && c <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
        return 0x10000 + ((c - 0xD800) << 10) + (text[1] - 0xDC00u);
    }
    return c;
}

InputProblem Problem(Setting setting, ProblemKind kind) {
    std::optional<StringId> text;
    switch (kind) {
    case ProblemKind::OffsetOutOfRange:
        text = StringId::OffsetOutOfRange;
        break;
    case ProblemKind::UnmappableCharacter:
        text = StringId::UnmappableCharacter;
        break;
    case ProblemKind::ControlCharacter:
        text = StringId::ControlCharacter;
        break;
    default:
        break;
    }
    InputProblem problem;
    problem.setting = setting;
    problem.kind = kind;
    problem.text = text;
    return problem;
}

// Control characters and characters the code page lacks, in the text as it will be sent.
std::optional<InputProblem> CheckCharacters(Setting setting, std::u16string_view text,
                                            const AnsiCodePage& codePage, bool codePageUsable) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsControl(text[i])) {
            InputProblem problem = Problem(setting, ProblemKind::ControlCharacter);
            problem.character = text[i];
            problem.position = i;
            return problem;
        }
    }
    std::optional<Unmappable> unmappable;
    if (!codePageUsable) {
        // No byte of this code page would reach the printer as meant, so none is sent.
        unmappable = Unmappable{FirstCharacter(text), 0};
    } else {
        unmappable = ToAnsiChecked(text, codePage).unmappable;
    }
    if (!unmappable) {
        return std::nullopt;
    }
    InputProblem problem = Problem(setting, ProblemKind::UnmappableCharacter);
    problem.character = unmappable->character;
    problem.position = unmappable->position;
    problem.codePage = codePage.name;
    return problem;
}

std::optional<InputProblem> CheckCommandLineText(Setting setting, const std::u16string& text,
                                                 const AnsiCodePage& codePage) {
    if (setting != Setting::BtPassword) {
        if (text.empty()) {
            return Problem(setting, ProblemKind::EmptyText);
        }
        if (text.size() > kTextReadAtMost) {
            InputProblem problem = Problem(setting, ProblemKind::TextTooLong);
            problem.count = text.size();
            return problem;
        }
    }
    if (auto problem = CheckCharacters(setting, text, codePage, true)) {
        return problem;
    }
    if (setting == Setting::BtName) {
        const std::size_t bytes = ToAnsi(text, codePage).size();
        if (text.size() > kBtNameMaxCharacters || bytes > kBtNameMaxBytes) {
            InputProblem problem = Problem(setting, ProblemKind::BtNameTooLong);
            problem.count = bytes;
            problem.codePage = codePage.name;
            return problem;
        }
    }
    if (setting == Setting::BtPassword &&
        (text.size() != 4 || text.find_first_not_of(u"0123456789") != std::u16string::npos)) {
        return Problem(setting, ProblemKind::BtPasswordNotFourDigits);
    }
    return std::nullopt;
}

std::optional<InputProblem> CheckOffset(Setting setting, const OffsetSetting& offset,
                                        InputRules rules) {
    if (!offset.set) {
        return std::nullopt;
    }
    std::int64_t value = ParseMarkOffset(offset.text);
    if (rules == InputRules::CommandLine) {
        const auto whole = ParseWholeMarkOffset(offset.text);
        if (!whole) {
            return Problem(setting, ProblemKind::OffsetNotWholeNumber);
        }
        value = *whole;
    }
    if (!MarkOffsetInRange(value)) {
        return Problem(setting, ProblemKind::OffsetOutOfRange);
    }
    return std::nullopt;
}

} // namespace

SettingName NameOf(Setting setting) {
    switch (setting) {
    case Setting::Manufacturer:
        return {"--manufacturer", "制造商名称"};
    case Setting::Model:
        return {"--model", "打印机型号"};
    case Setting::SerialNumber:
        return {"--serial-number", "打印机序列号"};
    case Setting::BtName:
        return {"--bt-name", "蓝牙名称"};
    case Setting::BtPassword:
        return {"--bt-password", "蓝牙密码"};
    case Setting::MarkStart:
        return {"--mark-start", "定位偏移(起始位置)"};
    case Setting::MarkTear:
        return {"--mark-tear", "定位偏移(撕纸位置)"};
    case Setting::AnsiCodePage:
        break;
    }
    return {"TERVAN_ANSI_CODEPAGE", "TERVAN_ANSI_CODEPAGE"};
}

const std::u16string& TextOf(const PrinterSettings& settings, Setting setting) {
    static const std::u16string kNone;
    for (const TextEntry& entry : kTexts) {
        if (entry.setting == setting) {
            return (settings.*entry.field).text;
        }
    }
    return kNone;
}

std::optional<InputProblem> CheckSettings(const PrinterSettings& settings,
                                          const AnsiCodePage& codePage, InputRules rules) {
    const std::optional<CodePageProblem> codePageProblem = CheckCodePage(codePage);
    if (codePageProblem && rules == InputRules::CommandLine) {
        InputProblem problem =
            Problem(Setting::AnsiCodePage, *codePageProblem == CodePageProblem::Unknown
                                               ? ProblemKind::CodePageUnknown
                                               : ProblemKind::CodePageNotAscii);
        problem.codePage = codePage.name;
        return problem;
    }
    for (const TextEntry& entry : kTexts) {
        const TextSetting& text = settings.*entry.field;
        if (!text.checked) {
            continue;
        }
        std::optional<InputProblem> problem;
        if (rules == InputRules::CommandLine) {
            problem = CheckCommandLineText(entry.setting, text.text, codePage);
        } else if (!text.text.empty()) {
            problem = CheckCharacters(entry.setting, text.text.substr(0, kTextReadAtMost), codePage,
                                      !codePageProblem);
        }
        if (problem) {
            return problem;
        }
    }
    if (auto problem = CheckOffset(Setting::MarkStart, settings.markStart, rules)) {
        return problem;
    }
    return CheckOffset(Setting::MarkTear, settings.markTear, rules);
}

std::string DescribeCharacter(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    const bool faceless = character < 0x20 || (character >= 0x7F && character < 0xA0) ||
                          (character >= 0xD800 && character <= 0xDFFF);
    if (faceless) {
        return code;
    }
    std::u16string units;
    if (character >= 0x10000) {
        units = {static_cast<char16_t>(0xD800 + ((character - 0x10000) >> 10)),
                 static_cast<char16_t>(0xDC00 + ((character - 0x10000) & 0x3FF))};
    } else {
        units = {static_cast<char16_t>(character)};
    }
    // Appended piece by piece: MinGW's GCC 12 sees a false overlap in the chained operator+.
    std::string text = "'";
    text.append(Utf16ToUtf8(units)).append("' (").append(code).append(")");
    return text;
}

std::string ProblemText(const InputProblem& problem, std::string_view settingName,
                        Language language) {
    if (!problem.text) {
        return {};
    }
    const std::string character = DescribeCharacter(problem.character);
    return FormatString(LoadString(*problem.text, language),
                        {settingName, character, problem.codePage});
}

} // namespace tervan
