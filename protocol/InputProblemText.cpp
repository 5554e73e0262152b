#include "protocol/InputProblemText.h"

#include "protocol/SettingLimits.h"

namespace tervan {

namespace {

std::string CodePageText(ProblemKind kind, const AnsiCodePage& codePage) {
    const std::string what = codePage.fromEnvironment
                                 ? "TERVAN_ANSI_CODEPAGE: '" + codePage.name + "'"
                                 : "The locale's code page '" + codePage.name + "'";
    const std::string choose = "; set TERVAN_ANSI_CODEPAGE to a code page such as 936, 1252 or "
                               "65001, or to a name such as GB18030";
    if (kind == ProblemKind::CodePageUnknown) {
        return what + " is not a code page this system can convert to" + choose;
    }
    return what +
           " does not write ASCII as single bytes, so the printer could not read texts "
           "in it" +
           choose;
}

} // namespace

std::string InputProblemText(const InputProblem& problem, std::string_view name,
                             const std::string& given, const AnsiCodePage& codePage,
                             Language language) {
    std::string flag(name);
    const auto number = [](std::size_t n) { return std::to_string(n); };
    switch (problem.kind) {
    case ProblemKind::OffsetOutOfRange:
    case ProblemKind::UnmappableCharacter:
    case ProblemKind::ControlCharacter:
        return ProblemText(problem, flag, language);
    case ProblemKind::EmptyText:
        return flag + ": empty; leave it out to keep the printer's value";
    case ProblemKind::TextTooLong:
        return flag + ": " + number(problem.count) + " characters; at most " +
               number(kTextReadLength) + " are allowed";
    case ProblemKind::BtNameTooLong:
        // A double-byte code page holds a Chinese character in two bytes.
        return flag + ": " + number(problem.count) + " bytes in code page " + problem.codePage +
               "; at most " + number(problem.setting->bytes) + " bytes (" +
               number(problem.setting->bytes / 2) + " Chinese characters) and " +
               number(problem.setting->characters) + " characters are allowed";
    case ProblemKind::BtPasswordNotFourDigits:
        return flag + ": '" + given + "' is not exactly " + number(problem.setting->characters) +
               " digits";
    case ProblemKind::OffsetNotWholeNumber:
        return flag + ": '" + given + "' is not a whole number of dots from -" +
               std::to_string(kMaxMarkOffset) + " to " + std::to_string(kMaxMarkOffset);
    case ProblemKind::CodePageUnknown:
    case ProblemKind::CodePageNotAscii:
        return CodePageText(problem.kind, codePage);
    }
    return flag;
}

} // namespace tervan
