#include "protocol/InputCheck.h"

#include "base/Utf.h"
#include "protocol/MarkOffset.h"

#include <cstdio>

namespace tervan {

namespace {

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

InputProblem Problem(const Setting* setting, ProblemKind kind) {
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
std::optional<InputProblem> CheckCharacters(const Setting& setting, std::u16string_view text,
                                            const AnsiCodePage& codePage, bool codePageUsable) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsControl(text[i])) {
            InputProblem problem = Problem(&setting, ProblemKind::ControlCharacter);
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
    InputProblem problem = Problem(&setting, ProblemKind::UnmappableCharacter);
    problem.character = unmappable->character;
    problem.position = unmappable->position;
    problem.codePage = codePage.name;
    return problem;
}

std::optional<InputProblem> CheckCommandLineText(const Setting& setting, const std::u16string& text,
                                                 const AnsiCodePage& codePage) {
    if (setting.rule != TextRule::BtPin) {
        if (text.empty()) {
            return Problem(&setting, ProblemKind::EmptyText);
        }
        if (text.size() > kTextReadLength) {
            InputProblem problem = Problem(&setting, ProblemKind::TextTooLong);
            problem.count = text.size();
            return problem;
        }
    }
    if (auto problem = CheckCharacters(setting, text, codePage, true)) {
        return problem;
    }
    if (setting.rule == TextRule::BtName) {
        const std::size_t bytes = ToAnsi(text, codePage).size();
        if (text.size() > setting.characters || bytes > setting.bytes) {
            InputProblem problem = Problem(&setting, ProblemKind::BtNameTooLong);
            problem.count = bytes;
            problem.codePage = codePage.name;
            return problem;
        }
    }
    if (setting.rule == TextRule::BtPin &&
        (text.size() != setting.characters ||
         text.find_first_not_of(u"0123456789") != std::u16string::npos)) {
        return Problem(&setting, ProblemKind::BtPasswordNotFourDigits);
    }
    return std::nullopt;
}

std::optional<InputProblem> CheckText(const Setting& setting, const TextSetting& text,
                                      const AnsiCodePage& codePage, bool codePageUsable,
                                      InputRules rules) {
    if (!text.checked) {
        return std::nullopt;
    }
    if (rules == InputRules::CommandLine) {
        return CheckCommandLineText(setting, text.text, codePage);
    }
    if (text.text.empty()) {
        return std::nullopt;
    }
    return CheckCharacters(setting, text.text.substr(0, kTextReadLength), codePage, codePageUsable);
}

std::optional<InputProblem> CheckOffset(const Setting& setting, const OffsetSetting& offset) {
    if (!offset.set) {
        return std::nullopt;
    }
    if (!offset.dots) {
        return Problem(&setting, ProblemKind::OffsetNotWholeNumber);
    }
    if (!MarkOffsetInRange(*offset.dots)) {
        return Problem(&setting, ProblemKind::OffsetOutOfRange);
    }
    return std::nullopt;
}

} // namespace

SettingName NameOf(const Setting* setting) {
    if (setting == nullptr) {
        return {"TERVAN_ANSI_CODEPAGE", "TERVAN_ANSI_CODEPAGE"};
    }
    return {"--" + std::string(setting->name), setting->label};
}

std::optional<InputProblem> CheckSettings(const PrinterSettings& settings,
                                          const AnsiCodePage& codePage, InputRules rules) {
    const std::optional<CodePageProblem> codePageProblem = CheckCodePage(codePage);
    if (codePageProblem && rules == InputRules::CommandLine) {
        InputProblem problem = Problem(nullptr, *codePageProblem == CodePageProblem::Unknown
                                                    ? ProblemKind::CodePageUnknown
                                                    : ProblemKind::CodePageNotAscii);
        problem.codePage = codePage.name;
        return problem;
    }
    for (const Setting* setting : kSendingOrder) {
        std::optional<InputProblem> problem;
        if (setting->kind == SettingKind::Text) {
            problem =
                CheckText(*setting, settings.*setting->text, codePage, !codePageProblem, rules);
        } else if (setting->kind == SettingKind::Offset) {
            problem = CheckOffset(*setting, settings.*setting->offset);
        }
        if (problem) {
            return problem;
        }
    }
    return std::nullopt;
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
    const std::string_view text = LoadString(*problem.text, language);
    if (problem.kind == ProblemKind::OffsetOutOfRange) {
        return FormatString(text, {settingName, std::to_string(kMaxMarkOffset)});
    }
    return FormatString(text,
                        {settingName, DescribeCharacter(problem.character), problem.codePage});
}

} // namespace tervan
